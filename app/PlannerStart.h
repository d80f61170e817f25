// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Form1;

// Starts the planner the way the program does: the window loads, marks the
// store as shown (see StoreUseLock) and is shown, and once it has been
// painted, the store gets its daily safety copy on a thread of its own. The
// copy waits for the window, so that the first start of a day is no slower to
// show than any other; a copy that cannot be made is no reason to keep the
// user from their notes, so its result is not shown.
void startPlanner(Form1 &window);
