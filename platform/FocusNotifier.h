// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

// Tells when a control receives or loses the keyboard focus to or from another
// control of its window. What counts is which control of the window has the
// focus, not how it got there: the window being deactivated and reactivated
// onto the same control (another program, a dialog, a message box) and a popup
// opening and closing are no change, while a click into an inactive window,
// which Qt completes only when the window becomes active, is one. Of a change,
// the control left hears of it before the control reached.
class FocusNotifier : public QObject
{
    Q_OBJECT
public:
    explicit FocusNotifier(QWidget *control);

signals:
    void gotFocus();
    void lostFocus();
};
