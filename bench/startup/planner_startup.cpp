// The planner started exactly as its main() starts it, with two additions: the
// date is fixed to the month whose notes the benchmark stored, and the first
// paint of the window is reported.

#include "FirstShown.h"

#include "app/PlannerApplication.h"
#include "bench/StoreFill.h"
#include "calendar/Form1.h"
#include "platform/Today.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

int main(int argc, char *argv[])
{
    PlannerApplication application(argc, argv);
    Today::setFixedDateForTesting(StoreFill::ShownDate);
    SafetyCopies::makeDailyCopy(Settings::store().path(), Today::date());
    Form1 window;
    FirstShown::reportFirstPaint(window);
    window.Form_Load();
    window.show();
    return application.exec();
}
