// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlannerStart.h"

#include "calendar/Form1.h"
#include "platform/Failure.h"
#include "platform/Today.h"
#include "platform/UnhandledFailures.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreUseLock.h"

#include <QEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>
#include <QTimer>

#include <csignal>
#include <memory>

namespace {

// The day's check and safety copy, made once the window has been painted for
// the first time, on a thread of its own: reading a large store takes
// seconds, and the window takes keystrokes meanwhile. The application waits
// for the thread at its end.
class DailyCheckAfterFirstPaint : public QObject
{
public:
    DailyCheckAfterFirstPaint(QWidget *window, bool checkDue)
        : QObject(window), m_checkDue(checkDue)
    {
        window->installEventFilter(this);
        connect(&m_verdict, &QFutureWatcher<QString>::finished, this, &DailyCheckAfterFirstPaint::takeVerdict);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, &DailyCheckAfterFirstPaint::start);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // The thread never touches the window or the window's connection to the
    // store: it hands back what it found damaged, empty for a sound store.
    void start()
    {
        if (!Settings::store().refusal().isEmpty())
            return; // found damaged already; a safety copy is made only of a sound store
        auto damage = std::make_shared<QPromise<QString>>();
        m_verdict.setFuture(damage->future());
        QThreadPool::globalInstance()->start([damage, storePath = Settings::store().path(), today = Today::date()] {
            damage->start();
            QString found;
            SafetyCopies::makeDailyCopy(storePath, today, nullptr, &found);
            damage->addResult(found);
            damage->finish();
        });
    }

    // A check that could not be made (the store missing, locked or unreadable,
    // which the start-up has reported) lets the file go as a passed one does:
    // no copy was made, so the next start checks again.
    void takeVerdict()
    {
        if (!m_checkDue)
            return;
        SettingsStore &store = Settings::store();
        const QString damage = m_verdict.result();
        if (damage.isEmpty()) {
            store.fileCheckPassed();
            return;
        }
        if (store.refuseAsDamaged(damage)) {
            UnhandledFailures::endRun(); // this is news, whatever was shown before
            UnhandledFailures::handle(std::make_exception_ptr(Failure(store.refusal())));
        }
    }

    const bool m_checkDue;
    QFutureWatcher<QString> m_verdict;
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
    // The day's safety copy is made only of a store that passed the check, so
    // while that copy exists the check is not repeated.
    SettingsStore &store = Settings::store();
    const bool checkDue = !QFileInfo::exists(SafetyCopies::copyPath(store.path(), Today::date()));
    store.setWholeFileCheck(false);
    if (checkDue)
        store.holdFileUntilChecked();
    window.Form_Load();
    // The start-up's reports told of a store refused as damaged; the keystrokes
    // it turns away need no message each.
    if (!store.refusal().isEmpty())
        UnhandledFailures::beginRun();
    new StoreShown(&window); // after the start-up made the store's folder
    new DailyCheckAfterFirstPaint(&window, checkDue);
    window.show();
}
