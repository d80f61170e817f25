// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreBackup.h"

#include "platform/Failure.h"
#include "settings/PartFile.h"
#include "settings/StoreFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace StoreBackup {

namespace {

// The file to write: the one given, or the regular file a link points to.
QString targetOf(const QString &storePath, const QString &file)
{
    if (file == QLatin1String("-")) {
        throw Failure(QCoreApplication::translate("StoreBackup", "A backup goes into a file, not to standard output (\"-\"): a binary copy "
                                     "on a terminal helps no one. Give the name of a file."));
    }
    const QFileInfo given(file);
    QString target = file;
    if (given.isSymLink()) {
        target = given.canonicalFilePath();
        if (target.isEmpty())
            throw Failure(QCoreApplication::translate("StoreBackup", "The link %1 points to nothing; nothing was written.").arg(file));
    }
    struct stat info{};
    if (::stat(QFile::encodeName(target).constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        throw Failure(QCoreApplication::translate("StoreBackup", "%1 is not a regular file (a device, a pipe or a folder); a backup only "
                                     "creates or replaces a regular file.")
                          .arg(file));
    }
    if (StoreFolder::isStoreOrCopy(storePath, target)) {
        throw Failure(QCoreApplication::translate("StoreBackup", "%1 is the notes store, one of its journal files or one of its copies; "
                                     "nothing was written.")
                          .arg(file));
    }
    return target;
}

} // namespace

void backup(const QString &storePath, const QString &file, const StoreFile::Progress &progress)
{
    const QString target = targetOf(storePath, file);
    StoreFolder::removeLeftovers(storePath);
    // What an earlier backup to the same file left when it was killed.
    PartFile::removeLeftovers(QFileInfo(target).absolutePath(), QFileInfo(target).fileName());
    StoreFile store(storePath, StoreFile::Access::ReadOnly);
    store.checkTable();
    store.copyToNewFile(target, progress);
}

} // namespace StoreBackup
