// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PartFile.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString Infix = QStringLiteral(".part-");

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The files SQLite may have made beside a store file.
void removeCompanions(const QString &path)
{
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

void removeWithJournal(const QString &path)
{
    QFile::remove(path);
    removeCompanions(path);
}

// True when no one holds the file's lock, that is no PartFile writes it.
bool isAbandoned(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

} // namespace

PartFile::PartFile(const QString &finalPath)
    : m_finalPath(finalPath)
{
    QByteArray name = QFile::encodeName(finalPath + Infix) + "XXXXXX";
    m_fd = ::mkostemp(name.data(), O_CLOEXEC); // mode 0600 whatever the umask
    if (m_fd < 0)
        throw Failure(QCoreApplication::translate("PartFile", "Cannot create the copy %1: %2").arg(finalPath, systemError()));
    ::flock(m_fd, LOCK_EX); // a new file: no one else holds it
    m_path = QFile::decodeName(name);
}

PartFile::~PartFile()
{
    if (!m_committed)
        removeWithJournal(m_path);
    else
        removeCompanions(m_path);
    ::close(m_fd);
}

void PartFile::commit()
{
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_finalPath).constData()) != 0)
        throw Failure(QCoreApplication::translate("PartFile", "Cannot create the copy %1: %2").arg(m_finalPath, systemError()));
    m_committed = true;
    const QByteArray folder = QFile::encodeName(QFileInfo(m_finalPath).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // the new name survives a power loss too
        ::close(fd);
    }
}

void PartFile::removeLeftovers(const QString &folder, const QString &prefix)
{
    const QRegularExpression name(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(prefix) + QStringLiteral(R"(.*\.part-[A-Za-z0-9]{6})")));
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &entry : entries) {
        const QString path = folder + u'/' + entry;
        if (name.match(entry).hasMatch() && isAbandoned(path))
            removeWithJournal(path);
    }
}
