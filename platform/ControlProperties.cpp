// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ControlProperties.h"

#include "platform/Dispatch.h"
#include "platform/Failure.h"
#include "platform/OleColor.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

namespace ControlProperties {

namespace {
constexpr char BackColorName[] = "BackColor";
}

Kind kindOf(const QWidget *control)
{
    if (qobject_cast<const QRadioButton *>(control))
        return Kind::OptionButton;
    if (qobject_cast<const QCheckBox *>(control))
        return Kind::CheckBox;
    if (qobject_cast<const QGroupBox *>(control))
        return Kind::Frame;
    if (qobject_cast<const QLabel *>(control))
        return Kind::Label;
    return Kind::Other;
}

void setByName(QWidget *control, const QString &name, const QVariant &value)
{
    if (name != QLatin1String(BackColorName))
        throw Failure(QCoreApplication::translate("ControlProperties", "The control %1 has no property \"%2\".").arg(control->objectName(), name));
    const qint32 colorValue = toInt32(value);
    QPalette palette = control->palette();
    palette.setColor(control->backgroundRole(), OleColor::toQColor(colorValue));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

} // namespace ControlProperties
