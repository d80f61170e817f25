// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// The application object: the last line of the handling of failures in event
// handlers, so that no failure ever escapes into Qt's event loop.
class PlannerApplication : public QApplication
{
    Q_OBJECT
public:
    PlannerApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};
