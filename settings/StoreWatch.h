// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>

class SettingsStore;

// Tells when another program (a second planner, sync, import, restore)
// changed the store. The kernel says when the store's files are written
// (inotify, through QFileSystemWatcher), so a watch with nothing changing
// costs nothing; then SQLite says, on the watcher's own connection, whether
// another connection committed (PRAGMA data_version): the watcher's own
// writes, and a checkpoint, are not changes. Writes that come in a burst are
// looked at once, a moment after the first.
class StoreWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int SettleMs = 100;

    // The store is asked for at each look, so that it may be replaced meanwhile (tests, tools).
    using StoreOf = std::function<SettingsStore &()>;

    explicit StoreWatch(StoreOf store, QObject *parent = nullptr);

    void start();
    void stop();

    // Looks now; true (and changed() emitted) when the store changed since the last look.
    bool look();

signals:
    void changed();

private:
    void filesTouched();
    void watchFiles();

    StoreOf m_store;
    QFileSystemWatcher m_files;
    QTimer m_settle;
    bool m_running = false;
};
