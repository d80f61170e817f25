// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

// What an iCalendar text must be before libical reads it: within the sizes
// below (libical's line reading slows down far faster than a line grows),
// and each BEGIN closed by its END, not nested deeper than a calendar is
// (libical takes a text cut short for a whole one).
namespace ICalendarShape {

// One line, unfolded: a long note with its exact copy fits many times.
constexpr qsizetype MaxLineBytes = 1024 * 1024;
// One entry from a server.
constexpr qsizetype MaxEntryBytes = 4 * 1024 * 1024;
// A file to import.
constexpr qsizetype MaxFileBytes = 64 * 1024 * 1024;
// Components inside each other: a calendar, an entry, an alarm, a bit more.
constexpr int MaxDepth = 8;

// A Failure that names the line, when text is not of that shape or larger than maxBytes.
void check(const QByteArray &text, qsizetype maxBytes);

} // namespace ICalendarShape
