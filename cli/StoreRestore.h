#pragma once

#include "settings/StoreFile.h"

#include <QDateTime>
#include <QString>

// Brings the notes store back from a copy (a backup or a safety copy). The
// copy must be a sound store; the current store is first kept next to it as
// "<store>.before-restore-YYYYMMDD-HHMMSS"; then the copy is written into
// the store with SQLite's online backup, in one write transaction, so that
// a running planner simply reads the restored notes from then on.
namespace StoreRestore {

// Returns the path of the kept former store, empty when there was none.
// Throws a Failure, before anything was changed, for a copy that is not a
// sound store.
QString restore(const QString &copyPath, const QString &storePath, const QDateTime &now,
                const StoreFile::Progress &progress = {});

} // namespace StoreRestore
