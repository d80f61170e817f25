// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreWatch.h"

#include "platform/Failure.h"
#include "settings/SettingsStore.h"

#include <QFileInfo>

StoreWatch::StoreWatch(StoreOf store, QObject *parent)
    : QObject(parent), m_store(std::move(store))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_settle, &QTimer::timeout, this, &StoreWatch::look);
    connect(&m_files, &QFileSystemWatcher::fileChanged, this, &StoreWatch::filesTouched);
    connect(&m_files, &QFileSystemWatcher::directoryChanged, this, &StoreWatch::filesTouched);
}

// What changed before the watch began is looked at too.
void StoreWatch::start()
{
    m_running = true;
    watchFiles();
    m_settle.start();
}

void StoreWatch::stop()
{
    m_running = false;
    m_settle.stop();
    if (!m_files.files().isEmpty())
        m_files.removePaths(m_files.files());
    if (!m_files.directories().isEmpty())
        m_files.removePaths(m_files.directories());
}

// The store and its -wal file, where every commit is written, and their
// folder, which tells when either is made anew (the -wal file goes when the
// last connection to the store closes).
void StoreWatch::watchFiles()
{
    const QString path = m_store().path();
    for (const QString &file : {QFileInfo(path).absolutePath(), path, path + QStringLiteral("-wal")}) {
        if (!m_files.files().contains(file) && !m_files.directories().contains(file) && QFileInfo::exists(file))
            m_files.addPath(file);
    }
}

void StoreWatch::filesTouched()
{
    if (!m_running)
        return;
    watchFiles();
    if (!m_settle.isActive())
        m_settle.start();
}

// A store that cannot be read now is not reported here: the next write or
// read of whoever uses it says so, once, and the watch looks again later.
bool StoreWatch::look()
{
    bool changed = false;
    try {
        changed = m_store().changedElsewhere();
    } catch (const Failure &) {
        return false;
    }
    if (changed)
        emit this->changed();
    return changed;
}
