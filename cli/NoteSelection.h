// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"
#include "notes/Note.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

// The notes that list, search and export take (--from, --to, --month) and
// where they go (-o FILE): the options of Options::selection().
class NoteSelection
{
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    // Takes the options of call: false, with the usage error reported through
    // command, when they are wrong. Sends the output to the file of -o; a
    // Failure when it cannot be written.
    bool take(const Command::Call &call, const Command &command);

    // The chosen notes of the store, read-only; a Failure when it is missing,
    // unreadable or no notes store.
    QList<Note> notes(const QString &storePath) const;

private:
    QString read(const QCommandLineParser &parser);

    QDate m_from; // the first day of notes to take; invalid: no limit
    QDate m_to;   // the last
};
