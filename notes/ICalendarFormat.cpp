// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ICalendarFormat.h"

#include "notes/Note.h"
#include "notes/NoteJournal.h"

ICalendarFormat::ICalendarFormat(const QDateTime &now)
    : m_now(now)
{
}

QByteArray ICalendarFormat::begin()
{
    return NoteJournal::calendarBegin();
}

QByteArray ICalendarFormat::note(const Note &note)
{
    if (!note.date().isValid()) {
        m_undated << note.key;
        return {};
    }
    return NoteJournal::journalText(note, m_now);
}

QByteArray ICalendarFormat::end()
{
    return NoteJournal::calendarEnd();
}

QStringList ICalendarFormat::warnings() const
{
    QStringList result;
    for (const QString &key : m_undated)
        result << tr("skipped the note \"%1\": its key names no date.").arg(key);
    return result;
}
