// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The folder that holds the notes store, its journal files and its copies:
// made private to the user, refused when someone else could change it.
namespace StoreFolder {

// Makes folder and each missing parent with mode 0700, whatever the umask.
void makePrivate(const QString &folder);

// Throws a Failure unless the store's folder, and the store file when it
// exists, belong to the user and can be written by no one else: notes put
// into a folder another user controls could be read or replaced by them.
void checkPrivate(const QString &storePath);

// Whether path names (through any link) the store or one of its -wal, -shm
// or -journal files; compared by device and inode, and for a file not there
// yet (a -wal that SQLite would take for the store's) by folder and name.
bool isStoreOrJournal(const QString &storePath, const QString &path);
// The same, or one of the copies the store keeps beside it.
bool isStoreOrCopy(const QString &storePath, const QString &path);

// Removes what copies and restores cut short left in the store's folder.
void removeLeftovers(const QString &storePath);

} // namespace StoreFolder
