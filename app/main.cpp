// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlannerApplication.h"
#include "app/PlannerStart.h"
#include "calendar/Form1.h"

int main(int argc, char *argv[])
{
    PlannerApplication application(argc, argv);
    Form1 window;
    startPlanner(window);
    return application.exec();
}
