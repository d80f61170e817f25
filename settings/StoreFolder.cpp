// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreFolder.h"

#include "platform/Failure.h"
#include "settings/PartFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace StoreFolder {

namespace {

void checkOwnedAndClosed(const QString &path, const char *what, const QString &storePath)
{
    struct stat info{};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return;
    QString problem;
    if (info.st_uid != ::geteuid())
        problem = QCoreApplication::translate("StoreFolder", "belongs to another user");
    else if (info.st_mode & (S_IWGRP | S_IWOTH))
        problem = QCoreApplication::translate("StoreFolder", "can be changed by other users (mode %1)").arg(info.st_mode & 07777, 4, 8, QChar(u'0'));
    if (problem.isEmpty())
        return;
    throw Failure(QCoreApplication::translate("StoreFolder", "The %1 %2 %3, so the notes store %4 is not used. Make it yours and "
                                 "writable by you alone (chmod go-w), or move it away.")
                      .arg(QCoreApplication::translate("StoreFolder", what), path, problem, storePath));
}

bool isSameFile(const QString &a, const QString &b)
{
    struct stat infoA{};
    struct stat infoB{};
    return ::stat(QFile::encodeName(a).constData(), &infoA) == 0 && ::stat(QFile::encodeName(b).constData(), &infoB) == 0
           && infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
}

// Whether a and b name the same place in the same folder, so that a file
// not there yet still counts as the one SQLite would make under that name.
bool isSameName(const QString &a, const QString &b)
{
    const QString folder = QFileInfo(QFileInfo(a).absolutePath()).canonicalFilePath();
    return !folder.isEmpty() && folder == QFileInfo(QFileInfo(b).absolutePath()).canonicalFilePath()
           && QFileInfo(a).fileName() == QFileInfo(b).fileName();
}

} // namespace

void makePrivate(const QString &folder)
{
    const QString absolute = QFileInfo(folder).absoluteFilePath();
    if (absolute.isEmpty() || QFileInfo::exists(absolute))
        return;
    makePrivate(QFileInfo(absolute).absolutePath());
    const QByteArray native = QFile::encodeName(absolute);
    if (::mkdir(native.constData(), 0700) == 0)
        ::chmod(native.constData(), 0700); // a umask could have taken bits away, never added
}

void checkPrivate(const QString &storePath)
{
    checkOwnedAndClosed(QFileInfo(storePath).absolutePath(), QT_TRANSLATE_NOOP("StoreFolder", "folder"), storePath);
    checkOwnedAndClosed(storePath, QT_TRANSLATE_NOOP("StoreFolder", "file"), storePath);
}

bool isStoreOrJournal(const QString &storePath, const QString &path)
{
    for (const char *suffix : {"", "-wal", "-shm", "-journal"}) {
        const QString file = storePath + QLatin1String(suffix);
        if (isSameFile(file, path) || isSameName(file, path))
            return true;
    }
    return false;
}

bool isStoreOrCopy(const QString &storePath, const QString &path)
{
    if (isStoreOrJournal(storePath, path))
        return true;
    const QFileInfo store(storePath);
    const QStringList copies = store.dir().entryList({store.fileName() + QStringLiteral(".*")}, QDir::Files);
    return std::any_of(copies.cbegin(), copies.cend(),
                       [&](const QString &copy) { return isSameFile(store.dir().filePath(copy), path); });
}

void removeLeftovers(const QString &storePath)
{
    const QFileInfo store(storePath);
    PartFile::removeLeftovers(store.absolutePath(), store.fileName() + u'.');
}

} // namespace StoreFolder
