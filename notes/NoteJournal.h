// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/ICalendarShape.h"
#include "notes/Note.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A day note as one iCalendar journal entry (VJOURNAL), the form in which
// notes travel to calendar servers and files; or, for calendars that take no
// journal entries (and the phones' calendar apps, which show none), as an
// all-day event (VEVENT) of its day that blocks no time. Our entries carry the store key,
// the stored colour and, where iCalendar cannot hold the text byte for byte
// (leading or trailing blanks, CR, control characters), an exact copy of it,
// so that a note comes back under the same key with the same value.
namespace NoteJournal {

// A journal entry as read from a calendar.
struct Entry
{
    QString uid;
    QString key;   // our key property; empty in another program's entry
    QDate day;     // DTSTART's day; invalid when the entry has none
    std::optional<QString> description; // our exact copy while it still says the same
    std::optional<QString> summary;
    QString color; // our colour property, else the nearest of COLOR; empty when none
    // Our marks of the entry's last versions, newest first: each write of ours
    // adds one, other programs keep them. Whether a version is among them
    // tells whether the entry comes from it.
    QStringList versions;

    bool isOurs() const { return !key.isEmpty(); }
    // The note the entry belongs to: ours, or the note of its day as the
    // window names it in the user's language today; empty when neither.
    QString noteKey() const;
    // The note's text as the entry has it, given the text both sides last
    // agreed on: the description, with its first line replaced when another
    // program changed only the title (SUMMARY); that first line of base when
    // the entry has only a title; empty when it has neither.
    QString textOver(const QString &base) const;
    // The text another program's entry brings into a note: its description,
    // below its title where that is not already the description's first line.
    QString foreignText() const;
};

// Stable for a note's day, so that every machine writes the note of a day to
// the same entry whatever language its keys are in; a key that names no date
// gets one of its own text.
QString uidFor(const QString &key);
// The file name of a note's entry in a collection: the hash of its UID.
QString fileNameFor(const QString &key);
// What earlier versions made of the key's text alone, also for a key that
// names a date: entries written by them are still found there.
QString keyUidFor(const QString &key);
QString keyFileNameFor(const QString &key);

// The VJOURNAL component alone, as a calendar file holds it (CRLF line ends,
// folded). stamp becomes its DTSTAMP; versions, when given, its version
// marks; uid, when given, its UID (an entry keeps the UID it was made with).
QByteArray journalText(const Note &note, const QDateTime &stamp, const QStringList &versions = {}, const QString &uid = {});

// The component a note travels as.
enum class Form { Journal, Event };

// The note as the component of form alone. An event needs a day: a note
// whose key names none is written as a journal entry.
QByteArray entryText(const Note &note, const QDateTime &stamp, const QStringList &versions, Form form,
                     const QString &uid = {});
// A whole calendar holding the one entry.
QByteArray calendarText(const Note &note, const QDateTime &stamp, const QStringList &versions = {},
                        Form form = Form::Journal, const QString &uid = {});
// The calendar's opening lines and its closing line, for files of many entries.
QByteArray calendarBegin();
QByteArray calendarEnd();

// Every journal entry of an iCalendar text, in order, and the events that
// carry our key property (never anyone's appointments). A Failure when the
// text is larger than maxBytes or has a line too long (ICalendarShape), is no
// complete iCalendar text, or libical finds errors in it.
QList<Entry> parse(const QByteArray &calendar, qsizetype maxBytes = ICalendarShape::MaxEntryBytes);

// The CSS colour name nearest to a stored 0x00BBGGRR value; empty for values
// that name no ordinary colour.
QString nearestCssName(qint32 color);

} // namespace NoteJournal
