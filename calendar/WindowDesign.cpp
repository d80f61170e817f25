// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/WindowDesign.h"

#include <cmath>

namespace WindowDesign {

namespace {

int pixels(int twips)
{
    return int(std::lround(double(twips) / TwipsPerPixel));
}

int column(int cell) { return cell % GridColumns; }
int row(int cell) { return cell / GridColumns; }

} // namespace

QRect toPixels(const Twips &twips)
{
    return QRect(pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height));
}

QPoint startPosition(const QSize &window, const QRect &available)
{
    if (window.width() > available.width() || window.height() > available.height())
        return available.topLeft();
    return available.topLeft() + QPoint((available.width() - window.width()) / 2, (available.height() - window.height()) / 2);
}

Twips dayCaption(int cell)
{
    return {120 + 960 * column(cell), 840 + 1320 * row(cell), 930, 315};
}

Twips noteBox(int cell)
{
    return {120 + 960 * column(cell), 1140 + 1320 * row(cell), 930, 975};
}

} // namespace WindowDesign
