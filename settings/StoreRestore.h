// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/StoreFile.h"

#include <QDateTime>
#include <QString>

#include <functional>

// Brings the notes store back from a copy (a backup or a safety copy). The
// copy must be a sound store made by the planner; the current store is first
// kept next to it as "<store>.before-restore-YYYYMMDD-HHMMSS" (the newest
// seven are kept) and checked; then the copy's rows, in a schema of the
// planner's own, are written into the store with SQLite's online backup, in
// one write transaction, so that a planner simply reads the restored notes.
namespace StoreRestore {

inline constexpr int KeptFormerStores = 7;

// Returns the path of the kept former store, empty when there was none.
// Throws a Failure, before anything was changed, for a copy that is not a
// sound store, and unless force is set for a copy with no note or with far
// fewer than the store, and for a store that a planner has open.
// beforeChange runs once every check has let the restore go ahead, before anything
// is kept or changed; a Failure it throws ends the restore there, nothing changed.
// Keeps the store as it is now next to it, as restore keeps the former
// store, under "<store><infix>YYYYMMDD-HHMMSS" (the newest seven of that
// infix are kept), checked against it; for other changes of the whole store.
// Returns its path; empty when there is no store of ours to keep.
QString keepCopy(const QString &storePath, const QDateTime &now, const QString &infix);

QString restore(const QString &copyPath, const QString &storePath, const QDateTime &now, bool force,
                const StoreFile::Progress &progress = {}, const std::function<void()> &beforeChange = {});

} // namespace StoreRestore
