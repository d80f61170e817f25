// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/ExportFormat.h"

#include <QCoreApplication>

// An iCalendar file (RFC 5545) with one journal entry (VJOURNAL) per note on
// the note's day, which calendar programs import as day notes; the entries are
// those that sync sends (see NoteJournal). Notes whose key names no date have
// no place in a file meant for calendars.
class ICalendarFormat : public ExportFormat
{
    Q_DECLARE_TR_FUNCTIONS(ICalendarFormat)

public:
    // now becomes every entry's DTSTAMP.
    explicit ICalendarFormat(const QDateTime &now);

    QByteArray begin() override;
    QByteArray note(const Note &note) override;
    QByteArray end() override;
    QStringList warnings() const override;

private:
    QDateTime m_now;
    QStringList m_undated;
};
