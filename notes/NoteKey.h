// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

// The keys under which the store keeps a day's note and its colour: the month
// text, "_", the year text, "_txtNote_" or "_txtNoteColor_" and the cell
// index without leading zeros, e.g. "August_2021_txtNote_5". Month and year
// are used exactly as the window showed them, so a key may name no date. Built
// and read here only; the window, the notes tool and sync all use these.
namespace NoteKey {

QString text(const QString &monthText, const QString &yearText, int cellIndex);
QString color(const QString &monthText, const QString &yearText, int cellIndex);
// The colour key that belongs to the note text key textKey.
QString colorOf(const QString &textKey);

// The key the window builds for date in the user's language today.
QString forDay(const QDate &date);
// The key a window in language's language builds for date.
QString forDay(const QDate &date, const QLocale &language);

// What a note's text key tells.
struct Parts
{
    QString monthText;
    QString yearText;
    int day = 0;  // cell index + 1
    QDate date;   // invalid when month, year and day name no date

    bool operator==(const Parts &) const = default;
};

// The parts of a note text key; nothing for any other key ("Text1", colour
// keys, a key the window could never build). Month names are read in every
// language the window may have shown them in, so a key written under another
// desktop language still names its day.
std::optional<Parts> parse(const QString &key);

bool isText(const QString &key);
bool isColor(const QString &key);

} // namespace NoteKey
