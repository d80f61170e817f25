#include "app/PlannerApplication.h"
#include "app/PlannerStart.h"
#include "calendar/Form1.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreUseLock.h"

#include <csignal>

int main(int argc, char *argv[])
{
    // A write past the file-size limit (ulimit -f) then fails with an error,
    // which the planner reports and recovers from, instead of ending it.
    std::signal(SIGXFSZ, SIG_IGN);
    PlannerApplication application(argc, argv);
    Form1 window;
    startPlanner(window);
    // Held for the whole run, so that a restore knows the store is shown.
    const StoreUseLock inUse(Settings::store().path(), StoreUseLock::Use::Planner);
    return application.exec();
}
