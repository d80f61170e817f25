// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/NoteJournal.h"

#include <QList>
#include <QString>

// Brings notes from a file into the store: an iCalendar file of journal
// entries (ours, KOrganizer's, Thunderbird's …) or our JSON export. Each entry
// becomes the note of its day (NoteJournal's mapping); a note that already has
// a text gets the entry's text added below it, never put in its place, and a
// text already in the note is not added again, so importing the same file
// twice changes nothing the second time.
namespace NoteImport {

struct Change
{
    QString key;
    QString text;     // the note's text after the import
    QString color;    // the colour to store; empty to leave it
    bool added;       // below an existing text, rather than a new note
};

// The entries of the file at path; a Failure when it is neither format.
QList<JournalNote> readFile(const QString &path);

// Applies the entries to the store at path in one transaction (none when
// dryRun) and returns what changed or would change.
QList<Change> apply(const QString &storePath, const QList<JournalNote> &entries, bool dryRun);

} // namespace NoteImport
