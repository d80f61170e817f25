// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/StoreFile.h"

#include <QString>

// Copies the notes store to a file the user names, also while the planner
// writes to it. Only a regular file is ever written (a new one, or one that
// is replaced as a whole); never the store, its journal files or its copies.
namespace StoreBackup {

// Throws a Failure, before anything was written, for a target that is not
// to be written: "-", a device, FIFO, folder or link to one, a link to
// nothing, the store or one of its files.
void backup(const QString &storePath, const QString &file, const StoreFile::Progress &progress = {});

} // namespace StoreBackup
