// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>

// The calendar window's design, in twips (1/1440 inch) relative to each
// control's container, kept as data. One conversion turns twips into logical
// pixels: 1440 twips to the inch at 96 logical dots per inch is 15 twips a
// pixel; Qt's device-pixel ratio takes care of high-density screens.
namespace WindowDesign {

struct Twips
{
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int TwipsPerPixel = 15;
QRect toPixels(const Twips &twips);

inline constexpr Twips ClientArea{0, 0, 14280, 8640};

// Where the window opens within the screen's available area: centred, or at
// the area's top-left corner where it does not fit centred (a small screen, a
// large scale), so that its title bar and every control stay in reach.
QPoint startPosition(const QSize &window, const QRect &available);

// Frames on the window; the two month panels are alike but for their place.
inline constexpr Twips PanelFrame[2] = {{120, 120, 6960, 7575}, {7200, 120, 6960, 7575}};
inline constexpr Twips ColorFrame{120, 7770, 14040, 765};

// Controls inside a month panel's frame.
inline constexpr Twips MonthLabel{240, 420, 570, 225};
inline constexpr Twips MonthSelector{960, 360, 2055, 345};
inline constexpr Twips YearLabel{3360, 420, 435, 225};
inline constexpr Twips YearBox{3960, 360, 975, 345};

// The swatch inside the colour frame.
inline constexpr Twips Swatch{240, 270, 13575, 345};

// The 7 by 5 grid of day cells: cell i stands in column i mod 7 and row i div 7.
inline constexpr int CellCount = 35;
inline constexpr int GridColumns = 7;
Twips dayCaption(int cell);
Twips noteBox(int cell);

// Fonts: the window's, which every control without a font of its own uses, and
// the day captions'.
inline constexpr char FontFamily[] = "Arial";
inline constexpr double WindowFontPoints = 9.0;
inline constexpr double DayCaptionFontPoints = 11.25;

} // namespace WindowDesign
