// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/AccessibleControls.h"

#include "calendar/AccessibleNoteBox.h"
#include "calendar/AccessibleSwatch.h"
#include "calendar/Controls.h"

namespace {

QAccessibleInterface *accessibleControl(const QString &className, QObject *object)
{
    if (className == QLatin1String(NoteBox::staticMetaObject.className()))
        return new AccessibleNoteBox(static_cast<NoteBox *>(object));
    if (className == QLatin1String(ColorSwatch::staticMetaObject.className()))
        return new AccessibleSwatch(static_cast<ColorSwatch *>(object));
    return nullptr;
}

} // namespace

void installAccessibleControls()
{
    QAccessible::installFactory(accessibleControl);
}
