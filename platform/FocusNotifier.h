#pragma once

#include <QObject>

class QWidget;

// Tells when a control receives or loses the keyboard focus to or from another
// control of its window. The window being deactivated or reactivated (another
// program, a dialog, a message box) and a popup opening are neither: they would
// otherwise recolour note boxes and refill the panels on every switch of programs.
class FocusNotifier : public QObject
{
    Q_OBJECT
public:
    explicit FocusNotifier(QWidget *control);

signals:
    void gotFocus();
    void lostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
