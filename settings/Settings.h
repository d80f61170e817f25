// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class SettingsStore;

// The planner's settings: every value it keeps, under the application name
// "Quillmere" and the section "Tavorin Planner".
namespace Settings {

inline const QString Application = QStringLiteral("Quillmere");
inline const QString Section = QStringLiteral("Tavorin Planner");

// What stands between the month and year texts and the cell index in the key
// of a day's note and in that of its colour.
inline const QString NoteTextInfix = QStringLiteral("_txtNote_");
inline const QString NoteColorInfix = QStringLiteral("_txtNoteColor_");

// The keys besides the notes.
inline const QString YearOfPanel1Key = QStringLiteral("Text1");
inline const QString YearOfPanel2Key = QStringLiteral("Text2");
inline const QString NoteColorKey = QStringLiteral("Forecolor");

// The store that SaveSetting and GetSetting use; opened on first use at
// SettingsStore::defaultPath() unless another location was set.
SettingsStore &store();
// How many SaveSetting calls have succeeded so far in this run of the program:
// tells a caller whether the store took a write while it looked away.
quint64 completedSaves();
// Uses the store at path from now on (tests, tools). An empty path returns to the default.
void useStoreAt(const QString &path);

} // namespace Settings

// Stores value under (application, section, key), replacing any earlier value.
// Durable once it returns; a failure is thrown.
void SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value);

// The value stored under (application, section, key), or defaultValue when none is.
QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue = QString());
QString GetSetting(const QString &application, const QString &section, const QString &key, int defaultValue);
