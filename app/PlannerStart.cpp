// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlannerStart.h"

#include "calendar/Form1.h"
#include "platform/Today.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreUseLock.h"

#include <QEvent>
#include <QThreadPool>
#include <QTimer>

#include <csignal>

namespace {

// Makes the daily safety copy once the window has been painted for the first
// time, on a thread of its own: copying a large store takes seconds, and the
// window takes keystrokes meanwhile. The application waits for it at its end.
class SafetyCopyAfterFirstPaint : public QObject
{
public:
    explicit SafetyCopyAfterFirstPaint(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                QThreadPool::globalInstance()->start(
                    [storePath = Settings::store().path(), today = Today::date()] {
                        SafetyCopies::makeDailyCopy(storePath, today);
                    });
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

// Tells a restore, for as long as the window lives, that a planner shows the store.
class StoreShown : public QObject
{
public:
    explicit StoreShown(QWidget *window)
        : QObject(window), m_lock(Settings::store().path(), StoreUseLock::Use::Planner)
    {
    }

private:
    StoreUseLock m_lock;
};

} // namespace

void startPlanner(Form1 &window)
{
    // A write past the file-size limit (ulimit -f) then fails with an error,
    // which the planner reports and recovers from, instead of ending it.
    std::signal(SIGXFSZ, SIG_IGN);
    window.Form_Load();
    new StoreShown(&window); // after the start-up made the store's folder
    new SafetyCopyAfterFirstPaint(&window);
    window.show();
}
