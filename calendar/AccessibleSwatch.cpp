// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/AccessibleSwatch.h"

#include "calendar/Controls.h"

AccessibleSwatch::AccessibleSwatch(ColorSwatch *swatch)
    : QAccessibleWidget(swatch, QAccessible::Button)
{
}

ColorSwatch *AccessibleSwatch::swatch() const
{
    return static_cast<ColorSwatch *>(widget());
}

QString AccessibleSwatch::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return swatch()->colorDescription();
    return QAccessibleWidget::text(kind);
}

// Press first: it is what the swatch is for.
QStringList AccessibleSwatch::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

// The press opens the modal colour dialog, so it runs once the request has
// been answered: a screen reader waiting for its answer would hang meanwhile.
void AccessibleSwatch::doAction(const QString &action)
{
    if (action != pressAction()) {
        QAccessibleWidget::doAction(action);
        return;
    }
    ColorSwatch *pressed = swatch();
    QMetaObject::invokeMethod(pressed, [pressed] { pressed->press(); }, Qt::QueuedConnection);
}

QStringList AccessibleSwatch::keyBindingsForAction(const QString &action) const
{
    if (action == pressAction())
        return {QStringLiteral("Space")};
    return QAccessibleWidget::keyBindingsForAction(action);
}
