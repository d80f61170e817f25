// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <functional>

// The notes a benchmark store holds: each note a text and a colour entry,
// spread over many months of the years 1800 to 2199. The two months the
// panels show while measured (the month of ShownDate and the one after) are
// filled first, so they hold notes whatever the number.
namespace StoreFill {

inline const QDate ShownDate{2021, 3, 15};
inline constexpr int EditedCell = 14; // the cell the keystrokes go to

// Calls entry(key, value) for the text and the colour of each of `notes` notes.
void forEachEntry(int notes, const std::function<void(const QString &key, const QString &value)> &entry);

// Creates a store at path with the program's own code, then adds the notes
// through the sqlite3 C API in one transaction. Throws std::runtime_error.
void fill(const QString &path, int notes);

} // namespace StoreFill
