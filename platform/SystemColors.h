// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPalette>

// The system colours that the window's design names (window background, window
// text, button face ...), as the light scheme it was drawn in has them. They
// are fixed rather than taken from the desktop's theme: the design pairs them
// with colours of its own (white frames, the notes' text colours), and a dark
// theme would leave those pairs unreadable. Windows of their own, such as the
// colour dialog and message boxes, keep following the theme.
namespace SystemColors {

// Every role of every colour group set, so that nothing of the theme shows
// through in a widget that takes this palette.
QPalette palette();

} // namespace SystemColors
