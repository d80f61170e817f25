// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreWatch.h"

#include "platform/Failure.h"
#include "settings/SettingsStore.h"

StoreWatch::StoreWatch(StoreOf store, int intervalMs, QObject *parent)
    : QObject(parent), m_store(std::move(store))
{
    m_timer.setInterval(intervalMs);
    m_timer.setTimerType(Qt::CoarseTimer); // may be batched with other wake-ups
    connect(&m_timer, &QTimer::timeout, this, &StoreWatch::look);
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
