// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QIcon;

// The planner's window icon: two facing pages of a planner with a ring
// binding, as in resources/tavorin-planner.svg, the desktop's icon. It is
// drawn here rather than read from the SVG, which would load Qt's SVG
// renderer (two libraries) before the window shows.
QIcon applicationIcon();
