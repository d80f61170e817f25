#include "app/PlannerApplication.h"
#include "calendar/Form1.h"

int main(int argc, char *argv[])
{
    PlannerApplication application(argc, argv);
    Form1 window;
    window.Form_Load();
    window.show();
    return application.exec();
}
