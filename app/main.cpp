#include "app/PlannerApplication.h"
#include "calendar/Form1.h"
#include "platform/Today.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

int main(int argc, char *argv[])
{
    PlannerApplication application(argc, argv);
    // Once a day, before anything is typed; a copy that cannot be made is no
    // reason to keep the user from their notes, so its result is not shown.
    SafetyCopies::makeDailyCopy(Settings::store().path(), Today::date());
    Form1 window;
    window.Form_Load();
    window.show();
    return application.exec();
}
