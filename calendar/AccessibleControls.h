// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Makes assistive technology see the window's own kinds of control through
// their own accessible interfaces (AccessibleNoteBox, AccessibleSwatch).
// Installing again changes nothing.
void installAccessibleControls();
