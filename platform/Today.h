// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

// The current local date. Tests and benchmarks fix it through a subclass, so
// that nothing they check depends on the day they run.
class Today
{
public:
    static QDate date();

protected:
    // The date that date() returns from now on; an invalid date returns to the clock.
    static void setFixedDate(const QDate &date);
};
