#include "platform/ControlProperties.h"

#include "platform/Dispatch.h"
#include "platform/Failure.h"
#include "platform/OleColor.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    if (qobject_cast<const QLineEdit *>(control) || qobject_cast<const QPlainTextEdit *>(control))
        return Kind::TextBox;
    if (qobject_cast<const QComboBox *>(control))
        return Kind::ComboBox;
    if (control && control->property("isPictureBox").toBool())
        return Kind::PictureBox;
    return Kind::Other;
}

void setByName(QWidget *control, const QString &name, const QVariant &value)
{
    if (name != QLatin1String(BackColorName))
        throw Failure(QStringLiteral("The control %1 has no property \"%2\".").arg(control->objectName(), name));
    const qint32 colorValue = toInt32(value);
    QPalette palette = control->palette();
    palette.setColor(control->backgroundRole(), OleColor::toQColor(colorValue));
    control->setPalette(palette);
    control->setAutoFillBackground(true);
    control->setProperty(BackColorName, colorValue);
}

std::optional<qint32> backColor(const QWidget *control)
{
    const QVariant value = control->property(BackColorName);
    if (!value.isValid())
        return std::nullopt;
    return value.toInt();
}

} // namespace ControlProperties
