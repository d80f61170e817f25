#include "platform/FocusNotifier.h"

#include <QFocusEvent>
#include <QWidget>

FocusNotifier::FocusNotifier(QWidget *control)
    : QObject(control)
{
    control->installEventFilter(this);
}

bool FocusNotifier::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return QObject::eventFilter(watched, event);

    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;

    if (event->type() == QEvent::FocusIn)
        emit gotFocus();
    else
        emit lostFocus();
    return false;
}
