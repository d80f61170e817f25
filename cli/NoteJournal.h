// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// A day note as one iCalendar journal entry (VJOURNAL), the form in which
// notes travel to calendar servers and files. The entry carries the store key
// and the stored colour exactly, so that a note comes back under the same key
// with the same value; an entry written by another program has neither and is
// given the key the planner builds for its day.
struct JournalNote
{
    QString key;        // the note's text key; empty for an entry of another program
    QString text;       // exactly as stored, line breaks and all
    QString colorText;  // the stored colour, decimal 0x00BBGGRR; empty when none
    QDate date;         // the day; invalid when the key names none
    QString uid;

    bool operator==(const JournalNote &) const = default;
};

namespace NoteJournal {

// Stable for a key, so that a newer copy of an entry replaces the older one.
QString uidFor(const QString &key);

// The key and date of a note from its key: the date when the key's month
// (English, German, Russian or the user's language) and year name one.
JournalNote fromKey(const QString &key, const QString &text, const QString &colorText);

// The key the planner builds for date: month name in the user's language.
QString keyForDay(const QDate &date);

// The CSS colour name nearest to a stored 0x00BBGGRR value; empty for values
// that name no ordinary colour.
QString nearestCssName(qint32 color);

// The VJOURNAL component alone, as a calendar file holds it (CRLF line ends,
// folded). stamp becomes its DTSTAMP. withExactCopy adds the exact text for
// notes whose text iCalendar cannot carry byte for byte (CR, control characters).
QByteArray journalText(const JournalNote &note, const QDateTime &stamp, bool withExactCopy = true);
// A whole calendar holding the one entry.
QByteArray calendarText(const JournalNote &note, const QDateTime &stamp);
// The calendar's opening lines and its closing line, for files of many entries.
QByteArray calendarBegin();
QByteArray calendarEnd();

// Every journal entry of an iCalendar text, with its key: its own key
// property, or the key of its day for entries of other programs. Entries
// without either are left out.
QList<JournalNote> parse(const QByteArray &calendar);

} // namespace NoteJournal
