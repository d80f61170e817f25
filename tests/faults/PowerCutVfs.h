// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

class QRandomGenerator;

// A power cut for SQLite, for the fault tests only: a VFS over the default
// one, made the default while it is installed, that writes through but keeps
// every write (and truncation) since each file's last sync, as a disk cache
// would. At any write, powerCutCopy() copies a folder as the disk would hold
// it had the power failed just then, before that write was done.
namespace PowerCutVfs {

enum class Loss {
    AllUnsynced,  // every write since the file's last sync is gone
    RandomSubset, // a random part of them (and of the write in progress) reached
                  // the disk, in any order, the last one torn part way
};

// Registers the VFS as the default; SQLite connections opened after it use it.
void install();

// Called before every write to a named file, with the file's path.
void setObserver(std::function<void(const QString &file)> observer);

// Copies the files of folder into target as they would be after a power cut
// at this moment, inside the write being observed.
void powerCutCopy(const QString &folder, const QString &target, Loss loss, QRandomGenerator &random);

} // namespace PowerCutVfs
