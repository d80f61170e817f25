// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// Daily copies of the notes store, kept next to it, so that a store spoilt
// by a mistake, a bad disk or a faulty restore can be brought back from a
// recent day: "settings.sqlite3.2026-12-08.bak" and so on, the newest seven.
namespace SafetyCopies {

inline constexpr int Kept = 7;

// Makes the copy of today unless there is one, then removes all but the
// newest Kept up to today (copies dated later are left alone and not
// counted), and what copies cut short left behind. Meant for every start of
// the planner: a store that does not exist yet needs no copy, and a damaged
// one gets none (the older copies stay).
// Never throws; on failure returns false and sets *error, and the planner goes
// on as usual. A store found damaged also sets *damage to what SQLite found.
bool makeDailyCopy(const QString &storePath, const QDate &today, QString *error = nullptr,
                   QString *damage = nullptr);

// Where the copy of day goes.
QString copyPath(const QString &storePath, const QDate &day);

// The existing copies of the store, oldest first.
QStringList existingCopies(const QString &storePath);

} // namespace SafetyCopies
