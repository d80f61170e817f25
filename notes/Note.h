// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteKey.h"

#include <QDate>
#include <QString>
#include <optional>

// One day's note: its text key, what the store holds under it and under its
// colour key, and what the key tells. The one note type of the notes tool,
// its formats and sync.
struct Note
{
    QString key;   // the text key, e.g. "August_2021_txtNote_5"
    QString text;  // exactly as stored
    QString color; // the stored colour text (decimal 0x00BBGGRR); empty when none is stored
    NoteKey::Parts parts;

    bool operator==(const Note &) const = default;

    // The note stored under key; nothing for a key that is no note text key.
    static std::optional<Note> fromKey(const QString &key, const QString &text = {}, const QString &color = {});

    QDate date() const { return parts.date; }
    // The colour as a number; nothing when none is stored or the text is no colour value.
    std::optional<qint32> colorValue() const;
    // Whether color is one the window could have stored (from its colour
    // dialog): only such a colour from a file or a server is stored.
    static bool isStorableColor(const QString &color);
};
