// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteJournal.h"

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class CalDavCollection;

// Setup's search for the calendar the notes go to, from any address the user
// has: a calendar's own, the server's root, or its /.well-known/caldav. It
// follows redirects itself, on the same origin only and with the same method
// (Qt would re-send a PROPFIND as a GET, and the password goes nowhere else),
// reads what each calendar accepts (supported-calendar-component-set), and
// makes a calendar of the notes' own where there is none.
class CalendarDiscovery
{
public:
    struct Found
    {
        QUrl url;
        NoteJournal::Form form = NoteJournal::Form::Journal;
        bool own = false;     // the notes' own calendar (made by setup, or called name): other programs' entries there are notes too
        QStringList notices;  // what the user should know about it
    };

    CalendarDiscovery(CalDavCollection &client, const QString &name);

    // The calendar at or below url, and the form the notes take there; wanted
    // is the form the user asked for, if any. A SyncFailure when the server
    // fails or refuses, a Failure when the calendar cannot take the notes.
    Found find(const QUrl &url, const std::optional<NoteJournal::Form> &wanted);

private:
    struct Calendar
    {
        QUrl url;
        QString name;
        bool isCalendar = false;
        QStringList components; // empty when the server does not say
    };

    Calendar properties(const QUrl &url);
    QUrl redirected(const QUrl &url, const QString &location) const;
    QString firstHref(const QUrl &url, const QByteArray &property);
    QUrl calendarHome(const QUrl &url);
    std::optional<Calendar> ownCalendarIn(const QUrl &home);
    Calendar make(const QUrl &home, NoteJournal::Form form);
    Found use(const Calendar &calendar, const std::optional<NoteJournal::Form> &wanted, bool own);

    CalDavCollection &m_client;
    QString m_name;
    QStringList m_notices;
};
