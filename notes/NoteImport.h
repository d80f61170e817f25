// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/Note.h"

#include <QList>
#include <QString>
#include <QStringList>

// Brings notes from a file into the store: an iCalendar file of journal
// entries (ours, KOrganizer's, Thunderbird's …) or our JSON export. Each entry
// becomes the note of its day (NoteJournal's mapping); a note that already has
// a text gets the entry's text added below it, never put in its place, and a
// text already in the note is not added again, so importing the same file
// twice changes nothing the second time. Only note keys are ever written, and
// colours only when the window could have stored them.
namespace NoteImport {

struct Entries
{
    QList<Note> notes;
    QStringList skipped; // why entries were left out, one line each
};

struct Change
{
    Note note;    // the note after the import; an empty colour leaves the stored one
    bool added;   // below an existing text, rather than a new note
};

// The entries of the file at path; a Failure when it is neither format or is broken.
Entries readFile(const QString &path);

// Applies the notes to the store at path in one transaction (none when
// dryRun) and returns what changed or would change.
QList<Change> apply(const QString &storePath, const QList<Note> &notes, bool dryRun);

} // namespace NoteImport
