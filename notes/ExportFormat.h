// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <memory>

struct Note;

// A file format notes are exported to, written note by note so that a long
// export can report its progress.
class ExportFormat
{
public:
    virtual ~ExportFormat() = default;

    virtual QByteArray begin() { return {}; }
    // The note's entry; empty when the format has no place for it.
    virtual QByteArray note(const Note &note) = 0;
    virtual QByteArray end() { return {}; }

    // Why some notes had no place, for the user (empty when all had one).
    virtual QStringList warnings() const { return {}; }

    static QStringList names(); // "markdown", "json", "ics"
    // The format called name, or nothing for an unknown name. now is the
    // moment of the export, for formats that record it.
    static std::unique_ptr<ExportFormat> create(const QString &name, const QDateTime &now);
};
