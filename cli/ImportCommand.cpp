// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ImportCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"
#include "notes/NoteImport.h"

#include <QCommandLineParser>

QString ImportCommand::name() const
{
    return QStringLiteral("import");
}

QString ImportCommand::arguments() const
{
    return QStringLiteral("[--dry-run] FILE");
}

QString ImportCommand::summary() const
{
    return tr("Bring in the notes of an iCalendar file or a JSON export.");
}

QString ImportCommand::help() const
{
    return standardHelp(tr("Reads FILE, an iCalendar file of journal entries (VJOURNAL) or a JSON export of\n"
                        "\"export --format json\", and makes each entry the note of its day. A day that\n"
                        "already has a note gets the entry's text added below it, never put in its\n"
                        "place; a text already in the note is not added again, so importing the same\n"
                        "file twice changes nothing. The import is one transaction: when it fails,\n"
                        "nothing is changed. --dry-run lists what would change.\n"));
}

QList<QCommandLineOption> ImportCommand::options() const
{
    return {Options::dryRun()};
}

int ImportCommand::run(const Call &call) const
{
    if (!checkArguments(call, 1))
        return ExitCode::UsageError;
    const bool dryRun = call.parser.isSet(Options::dryRun());
    const NoteImport::Entries entries = NoteImport::readFile(call.arguments.first());
    for (const QString &skipped : entries.skipped)
        call.console.note(skipped);
    const QList<NoteImport::Change> changes = NoteImport::apply(call.storePath, entries.notes, dryRun);
    int added = 0;
    for (const NoteImport::Change &change : changes) {
        added += change.added;
        if (dryRun)
            call.console.write((change.added ? tr("would add below %1\n") : tr("would make %1\n")).arg(change.note.key));
    }
    const qsizetype total = entries.notes.size();
    call.console.message((dryRun ? tr("would import %1 entries: %2 new notes, %3 added below a note, %4 already there.")
                                 : tr("imported %1 entries: %2 new notes, %3 added below a note, %4 already there."))
                             .arg(total).arg(changes.size() - added).arg(added).arg(total - changes.size()));
    return ExitCode::Ok;
}
