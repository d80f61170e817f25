// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Today.h"

namespace {
QDate fixedDate;
}

QDate Today::date()
{
    return fixedDate.isValid() ? fixedDate : QDate::currentDate();
}

void Today::setFixedDate(const QDate &date)
{
    fixedDate = date;
}
