// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OleColor.h"

#include "platform/BgrColor.h"
#include "platform/Failure.h"
#include "platform/Numbers.h"
#include "platform/SystemColors.h"

#include <QApplication>

namespace OleColor {

namespace {

constexpr quint32 SystemColorFlag = 0x80000000u;

std::optional<QPalette::ColorRole> systemColorRole(quint32 index)
{
    switch (index) {
    case 0x05: return QPalette::Base;          // window background
    case 0x08: return QPalette::Text;          // window text
    case 0x0F: return QPalette::Button;        // button face
    case 0x12: return QPalette::ButtonText;    // button text
    case 0x0D: return QPalette::Highlight;     // selected item
    case 0x0E: return QPalette::HighlightedText;
    case 0x18: return QPalette::ToolTipBase;
    case 0x17: return QPalette::ToolTipText;
    default: return std::nullopt;
    }
}

} // namespace

QColor toQColor(qint32 value)
{
    const auto bits = static_cast<quint32>(value);
    if (bits & SystemColorFlag) {
        const auto role = systemColorRole(bits & ~SystemColorFlag);
        if (!role)
            throw Failure(QApplication::translate("OleColor", "%1 names no system colour.").arg(value));
        return SystemColors::palette().color(QPalette::Active, *role);
    }
    if (bits > 0xFFFFFFu)
        throw Failure(QApplication::translate("OleColor", "%1 is not a colour value: colours run from 0 to 16777215.").arg(value));
    const BgrColor::Rgb rgb = BgrColor::toRgb(value);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

qint32 fromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return BgrColor::fromRgb(rgb.red(), rgb.green(), rgb.blue());
}

qint32 fromStoredText(const QString &text)
{
    const auto value = Numbers::parseInt32(text);
    if (!value)
        throw Failure(QApplication::translate("OleColor", "The stored colour \"%1\" is not a whole number from -2147483648 to 2147483647.")
                          .arg(text.left(80)));
    return *value;
}

QString toStoredText(qint32 value)
{
    return QString::number(value);
}

} // namespace OleColor
