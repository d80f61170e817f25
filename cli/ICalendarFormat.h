#pragma once

#include "cli/ExportFormat.h"

#include <QCoreApplication>

// An iCalendar file (RFC 5545) with one journal entry (VJOURNAL) per note on
// the note's day, which calendar programs import as day notes. Notes whose
// key names no date have no place in it.
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

    // A content line as the file holds it: folded into lines of at most 75
    // octets, never inside a UTF-8 sequence, each ended by CRLF.
    static QByteArray contentLine(const QString &line);
    // A TEXT value with \ ; , and line breaks escaped.
    static QString escapedText(const QString &text);

private:
    QString m_stamp;
    QStringList m_undated;
};
