// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

// Colours travel through the store and the window as 32-bit values in the
// 0x00BBGGRR form (red in the low byte). Values with the top bit set name a
// system colour (see SystemColors).
namespace OleColor {

inline constexpr qint32 ButtonFace = qint32(0x8000000F);
inline constexpr qint32 WindowBackground = qint32(0x80000005);
inline constexpr qint32 WindowText = qint32(0x80000008);

// The colour that value names; a failure for a value that names none.
QColor toQColor(qint32 value);
// The 0x00BBGGRR value of an ordinary colour.
qint32 fromQColor(const QColor &color);

// Reads a stored colour: an optional '-' and ASCII digits, no blanks, within the
// signed 32-bit range. Anything else is a failure that quotes the text.
qint32 fromStoredText(const QString &text);
QString toStoredText(qint32 value);

} // namespace OleColor
