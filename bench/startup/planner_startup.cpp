// SPDX-License-Identifier: GPL-3.0-or-later
// The planner started exactly as its main() starts it, with two additions: the
// date is fixed to the month whose notes the benchmark stored, and the first
// paint of the window is reported.

#include "FirstShown.h"
#include "tests/support/TestSeams.h"

#include "app/PlannerApplication.h"
#include "app/PlannerStart.h"
#include "bench/StoreFill.h"
#include "calendar/Form1.h"

int main(int argc, char *argv[])
{
    PlannerApplication application(argc, argv);
    FixedToday::set(StoreFill::ShownDate);
    Form1 window;
    startPlanner(window);
    // Watches after the planner's own watcher of the first paint, so it is told
    // first: the day's safety copy runs once the window is on screen.
    FirstShown::reportFirstPaint(window);
    const int code = application.exec();
    FirstShown::reportPeakAtEnd();
    return code;
}
