// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

// The one conversion between red, green and blue and the 0x00BBGGRR values
// (red in the low byte) in which the store, the window and the note formats
// keep colours.
namespace BgrColor {

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
};

inline constexpr qint32 fromRgb(int red, int green, int blue)
{
    return qint32(quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16);
}

inline constexpr Rgb toRgb(qint32 value)
{
    const auto bits = quint32(value);
    return {int(bits & 0xFF), int(bits >> 8 & 0xFF), int(bits >> 16 & 0xFF)};
}

// Whether value is an ordinary colour, not a system colour or out of range.
inline constexpr bool isOrdinary(qint32 value)
{
    return value >= 0 && value <= 0xFFFFFF;
}

} // namespace BgrColor
