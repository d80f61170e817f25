// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ColorNames.h"

#include <QCoreApplication>

#include <limits>

namespace ColorNames {

namespace {

struct NamedColor
{
    QRgb rgb;
    const char *name;
};

// Names a person uses for colours, each at the colour that it names best.
constexpr NamedColor Names[] = {
    {0x000000, QT_TRANSLATE_NOOP("ColorNames", "black")},
    {0x404040, QT_TRANSLATE_NOOP("ColorNames", "dark grey")},
    {0x808080, QT_TRANSLATE_NOOP("ColorNames", "grey")},
    {0xC0C0C0, QT_TRANSLATE_NOOP("ColorNames", "light grey")},
    {0xFFFFFF, QT_TRANSLATE_NOOP("ColorNames", "white")},
    {0x800000, QT_TRANSLATE_NOOP("ColorNames", "dark red")},
    {0xFF0000, QT_TRANSLATE_NOOP("ColorNames", "red")},
    {0xFFC0CB, QT_TRANSLATE_NOOP("ColorNames", "pink")},
    {0xFFA500, QT_TRANSLATE_NOOP("ColorNames", "orange")},
    {0x8B4513, QT_TRANSLATE_NOOP("ColorNames", "brown")},
    {0xFFFF00, QT_TRANSLATE_NOOP("ColorNames", "yellow")},
    {0x808000, QT_TRANSLATE_NOOP("ColorNames", "olive")},
    {0x90EE90, QT_TRANSLATE_NOOP("ColorNames", "light green")},
    {0x00FF00, QT_TRANSLATE_NOOP("ColorNames", "green")},
    {0x006400, QT_TRANSLATE_NOOP("ColorNames", "dark green")},
    {0x008080, QT_TRANSLATE_NOOP("ColorNames", "teal")},
    {0x00FFFF, QT_TRANSLATE_NOOP("ColorNames", "cyan")},
    {0xADD8E6, QT_TRANSLATE_NOOP("ColorNames", "light blue")},
    {0x0000FF, QT_TRANSLATE_NOOP("ColorNames", "blue")},
    {0x000080, QT_TRANSLATE_NOOP("ColorNames", "navy")},
    {0x800080, QT_TRANSLATE_NOOP("ColorNames", "purple")},
    {0xFF00FF, QT_TRANSLATE_NOOP("ColorNames", "magenta")},
};

// How far apart two colours look: a distance in RGB weighted by the mean
// red, which follows the eye far better than the plain one.
int distance(QRgb a, QRgb b)
{
    const int meanRed = (qRed(a) + qRed(b)) / 2;
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return (((512 + meanRed) * red * red) >> 8) + 4 * green * green + (((767 - meanRed) * blue * blue) >> 8);
}

const char *nearestName(QRgb rgb)
{
    const char *nearest = Names[0].name;
    int nearestDistance = std::numeric_limits<int>::max();
    for (const NamedColor &named : Names) {
        const int d = distance(rgb, named.rgb);
        if (d < nearestDistance) {
            nearestDistance = d;
            nearest = named.name;
        }
    }
    return nearest;
}

} // namespace

QString describe(const QColor &color)
{
    const QRgb rgb = color.rgb();
    return QCoreApplication::translate("ColorNames", "%1, %2")
        .arg(QCoreApplication::translate("ColorNames", nearestName(rgb)), color.name(QColor::HexRgb).toUpper());
}

} // namespace ColorNames
