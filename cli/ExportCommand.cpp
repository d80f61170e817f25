// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExportCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/NoteSelection.h"
#include "cli/Options.h"
#include "notes/ExportFormat.h"

#include <QCommandLineParser>
#include <QDateTime>

#include <algorithm>

QString ExportCommand::name() const
{
    return QStringLiteral("export");
}

QString ExportCommand::arguments() const
{
    return QStringLiteral("[--format FORMAT]");
}

QString ExportCommand::summary() const
{
    return tr("Write every note as Markdown, JSON or iCalendar.");
}

QString ExportCommand::help() const
{
    return standardHelp(tr("Writes every note to standard output in FORMAT: markdown (the default), json, or ics,\n"
                        "an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes\n"
                        "whose month and year name no date are left out of iCalendar files, each with a\n"
                        "message; when no note has a date, nothing is written and the exit code is 1.\n"),
                        true);
}

QList<QCommandLineOption> ExportCommand::options() const
{
    return QList{Options::format()} + Options::selection();
}

int ExportCommand::run(const Call &call) const
{
    NoteSelection selection;
    if (!checkArguments(call, 0) || !selection.take(call, *this))
        return ExitCode::UsageError;
    const QString formatName = call.parser.value(Options::format());
    if (!ExportFormat::names().contains(formatName))
        return usageError(call.console, tr("Unknown format \"%1\".").arg(formatName));

    const auto format = ExportFormat::create(formatName, QDateTime::currentDateTimeUtc());
    const QList<Note> notes = selection.notes(call.storePath);
    // A calendar must hold at least one entry, and a job that exports nothing should not pass.
    if (formatName == QLatin1String("ics")
        && std::none_of(notes.begin(), notes.end(), [](const Note &note) { return note.date().isValid(); })) {
        call.console.message(notes.isEmpty() ? tr("No note to export: an iCalendar file needs at least one.")
                                             : tr("None of the %1 notes has a date: an iCalendar file needs at least one.")
                                                   .arg(notes.size()));
        return ExitCode::NothingFound;
    }
    call.console.write(format->begin());
    for (qsizetype i = 0; i < notes.size(); ++i) {
        call.console.write(format->note(notes.at(i)));
        call.console.progress(tr("exported notes"), i + 1, notes.size());
    }
    call.console.write(format->end());
    for (const QString &warning : format->warnings())
        call.console.note(warning);
    return ExitCode::Ok;
}
