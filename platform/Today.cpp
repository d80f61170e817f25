// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Today.h"

namespace Today {

namespace {
QDate fixedDate;
}

QDate date()
{
    return fixedDate.isValid() ? fixedDate : QDate::currentDate();
}

void setFixedDateForTesting(const QDate &date)
{
    fixedDate = date;
}

} // namespace Today
