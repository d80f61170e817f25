// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

// Colours in words for screen readers, in the user's language.
namespace ColorNames {

// The name of the nearest of a few well-known colours and the exact value,
// such as "dark red, #8B1A1A".
QString describe(const QColor &color);

} // namespace ColorNames
