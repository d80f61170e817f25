// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

// The current local date. Tests fix it, so that nothing depends on the day they run.
namespace Today {

QDate date();
void setFixedDateForTesting(const QDate &date); // an invalid date returns to the clock

} // namespace Today
