// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

// Month and weekday names in the user's language (the default QLocale).
namespace DateNames {

// The full name of month 1 to 12 as it stands alone, e.g. "August" or "Август".
QString fullMonthName(int month);
// The full name of the weekday of date, e.g. "Sunday".
QString fullWeekdayName(const QDate &date);
// The date written out in full, as the user's language writes it, e.g.
// "Sunday, 15 August 2021" or "Sonntag, 15. August 2021".
QString longDate(const QDate &date);

} // namespace DateNames
