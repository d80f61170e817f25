// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FocusNotifier.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <utility>

namespace {

// Which control of one window has the keyboard focus, or had it when the window
// was last deactivated: Qt forgets that while the window is inactive, and
// reports the control it gives the focus to on reactivation as if nothing had
// happened in between.
class WindowFocus : public QObject
{
public:
    explicit WindowFocus(QWidget *window)
        : QObject(window),
          m_window(window)
    {
        setObjectName(QStringLiteral("WindowFocus"));
        connect(qApp, &QApplication::focusChanged, this, &WindowFocus::focusChanged);
    }

    // One record per window, found again by its name.
    static void watch(QWidget *window)
    {
        if (!window->findChild<QObject *>(QStringLiteral("WindowFocus"), Qt::FindDirectChildrenOnly))
            new WindowFocus(window);
    }

private:
    // Focus leaving for another window, or for none, changes nothing here.
    void focusChanged(QWidget *, QWidget *now)
    {
        if (!now || now->window() != m_window || now == m_control)
            return;
        const QPointer<QWidget> left = std::exchange(m_control, now);
        const QPointer<QWidget> reached = now;
        if (FocusNotifier *notifier = notifierOf(left))
            emit notifier->lostFocus();
        // The handling of the control left may have moved the focus on again.
        if (reached && m_control == reached) {
            if (FocusNotifier *notifier = notifierOf(reached))
                emit notifier->gotFocus();
        }
    }

    static FocusNotifier *notifierOf(QWidget *control)
    {
        return control ? control->findChild<FocusNotifier *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    }

    QWidget *m_window;
    QPointer<QWidget> m_control;
};

} // namespace

FocusNotifier::FocusNotifier(QWidget *control)
    : QObject(control)
{
    WindowFocus::watch(control->window());
}
