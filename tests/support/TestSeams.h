// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ApplicationInfo.h"
#include "platform/Today.h"

// The date the planner takes for today, fixed for a test or a benchmark.
class FixedToday : private Today
{
public:
    static void set(const QDate &date) { setFixedDate(date); }
    static void clear() { setFixedDate(QDate()); }
};

// The folder the planner takes for its own, where it looks for its skin.
class TestApplicationFolder : private ApplicationInfo
{
public:
    static void set(const QString &folder) { setFolder(folder); }
    static void clear() { setFolder(QString()); }
};
