// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreUseLock.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

StoreUseLock::StoreUseLock(const QString &storePath, Use use)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(storePath).absolutePath());
    m_fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_held = use == Use::Restore; // no folder yet: no planner uses it
        return;
    }
    m_held = ::flock(m_fd, (use == Use::Planner ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0;
}

StoreUseLock::~StoreUseLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool StoreUseLock::plannerOpen(const QString &storePath)
{
    return !StoreUseLock(storePath, Use::Restore).isHeld();
}
