// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlannerApplication.h"

#include "platform/Translations.h"
#include "platform/UnhandledFailures.h"

PlannerApplication::PlannerApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("tavorin-planner"));
    setDesktopFileName(QStringLiteral("example.quillmere.TavorinPlanner"));
    Translations::install({QStringLiteral("planner")});
}

bool PlannerApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        UnhandledFailures::handle(std::current_exception());
        return false;
    }
}
