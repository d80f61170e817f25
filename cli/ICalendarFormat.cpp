// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ICalendarFormat.h"

#include "cli/Note.h"
#include "cli/NoteJournal.h"

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
    if (!note.date.isValid()) {
        m_undated << note.key;
        return {};
    }
    // The catalogue has read the key already: its date is the entry's day.
    const QString color = note.color ? QString::number(*note.color) : QString();
    const JournalNote journal{note.key, note.text, color, note.date, NoteJournal::uidFor(note.key)};
    // A file for calendar programs: the text as they show it, no exact copy beside it.
    return NoteJournal::journalText(journal, m_now, false);
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
