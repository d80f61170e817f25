// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Form1;

// Starts the planner the way the program does: the window loads, marks the
// store as shown (see StoreUseLock) and is shown. Once it has been painted,
// a thread of its own checks the whole store file for damage, on the first
// start of a day, and makes the day's safety copy of a sound one; the window
// takes keystrokes meanwhile, so the first start of a day shows as fast as
// any other. Until the check has passed, what is stored stays beside the
// store file (see SettingsStore::holdFileUntilChecked); a store found damaged
// is refused with one message. A copy that cannot be made is no reason to
// keep the user from their notes, so that is not shown.
void startPlanner(Form1 &window);
