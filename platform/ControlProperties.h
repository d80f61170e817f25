// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QVariant>

class QWidget;

// The kinds of control the window is made of, and the setting of a control's
// property by name, as the skin step of the start-up uses them.
namespace ControlProperties {

// The kinds that the skin recolours; every other control is Other.
enum class Kind { OptionButton, CheckBox, Frame, Label, Other };

Kind kindOf(const QWidget *control);

// Sets the property called name; "BackColor" takes a colour value and becomes
// the control's background. Any other name is a failure.
void setByName(QWidget *control, const QString &name, const QVariant &value);

} // namespace ControlProperties
