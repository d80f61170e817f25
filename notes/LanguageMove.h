// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/Note.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <optional>

// After the desktop's language changed, the window builds the keys of every
// day with the month names of the new language ("März_2024_txtNote_5" for
// "March_2024_txtNote_5") and no longer finds the notes stored before. A
// language move puts each note of a day under the key the window now builds
// for it; where that key holds a note too, the two are merged, so that what
// both hold appears once and nothing either holds is lost. Keys that name
// no date stay as they are.
namespace LanguageMove {

struct Move
{
    Note from;                 // the note under the old key
    std::optional<Note> into;  // what the new key held before, if anything
    Note result;               // the new key's note afterwards
};

// The moves that bring the notes to the keys of language, in key order;
// notes of one day under several old keys are merged in turn.
QList<Move> plan(const QHash<QString, Note> &notes, const QLocale &language);

} // namespace LanguageMove
