// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DateNames.h"

#include <QLocale>

namespace DateNames {

QString fullMonthName(int month)
{
    return QLocale().standaloneMonthName(month, QLocale::LongFormat);
}

QString fullWeekdayName(const QDate &date)
{
    return QLocale().dayName(date.dayOfWeek(), QLocale::LongFormat);
}

QString longDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::LongFormat);
}

} // namespace DateNames
