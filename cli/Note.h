// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <optional>

// One day note as the planner stored it, with what its key says about it.
struct Note
{
    QString key;        // e.g. "August_2021_txtNote_5"
    QString monthText;  // the month selector's text when the note was typed
    QString yearText;   // the year box's text, verbatim
    int day = 0;        // cell index + 1
    QDate date;         // invalid when month, year and day name no date
    QString text;       // line breaks as "\n"
    std::optional<qint32> color; // 0x00BBGGRR; none when absent or unreadable
};
