// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class SettingsStore;

// Tells when another program (a second planner, sync, import, restore)
// changed the store. It asks SQLite, on the watcher's own connection, for the
// count of other connections' commits (PRAGMA data_version) a few times a
// second: a look at the shared WAL index, no read of the file, so an idle
// watch costs well under a CPU second an hour. Its own connection's writes
// are not changes.
class StoreWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultIntervalMs = 400;

    // The store is asked for at each look, so that it may be replaced meanwhile (tests, tools).
    using StoreOf = std::function<SettingsStore &()>;

    explicit StoreWatch(StoreOf store, int intervalMs = DefaultIntervalMs, QObject *parent = nullptr);

    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }

    // Looks now; true (and changed() emitted) when the store changed since the last look.
    bool look();

signals:
    void changed();

private:
    StoreOf m_store;
    QTimer m_timer;
};
