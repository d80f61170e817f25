// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Tells a restore that a planner has the store open. Every running planner
// holds a shared lock on the store's folder; a restore asks for an exclusive
// one and learns, when it is refused, that a planner would go on showing
// (and, at the next keystroke, storing) notes from before the restore. The
// lock is the kernel's (flock), so a planner that dies releases it; it is
// independent of SQLite's own locks on the files.
class StoreUseLock
{
public:
    enum class Use { Planner, Restore };

    // Never waits; isHeld() says whether the lock was had.
    StoreUseLock(const QString &storePath, Use use);
    ~StoreUseLock();
    StoreUseLock(const StoreUseLock &) = delete;
    StoreUseLock &operator=(const StoreUseLock &) = delete;

    bool isHeld() const { return m_held; }

    // Whether a planner has the store open now. Asks for the restore's lock
    // and gives it back at once: a planner starting in that microsecond goes
    // on without its lock, which only a restore would miss.
    static bool plannerOpen(const QString &storePath);

private:
    int m_fd = -1;
    bool m_held = false;
};
