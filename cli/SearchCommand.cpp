// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SearchCommand.h"

#include "cli/ExitCode.h"
#include "cli/NoteListing.h"
#include "cli/NoteSelection.h"
#include "cli/Options.h"

QString SearchCommand::name() const
{
    return QStringLiteral("search");
}

QString SearchCommand::arguments() const
{
    return QStringLiteral("TEXT");
}

QString SearchCommand::summary() const
{
    return tr("List the notes that contain TEXT, ignoring case.");
}

QString SearchCommand::help() const
{
    return standardHelp(tr("Lists, as \"list\" does, the notes whose text contains TEXT, ignoring case.\n"
                        "Exits with 1 when no note contains it. Put -- before a TEXT that starts with -.\n"),
                        true);
}

QList<QCommandLineOption> SearchCommand::options() const
{
    return Options::selection();
}

int SearchCommand::run(const Call &call) const
{
    NoteSelection selection;
    if (!checkArguments(call, 1) || !selection.take(call, *this))
        return ExitCode::UsageError;
    // Composed and decomposed forms of the same letters match each other.
    const QString wanted = call.arguments.first().normalized(QString::NormalizationForm_C);
    QList<Note> found = selection.notes(call.storePath);
    found.removeIf([&wanted](const Note &note) {
        return !note.text.normalized(QString::NormalizationForm_C).contains(wanted, Qt::CaseInsensitive);
    });
    NoteListing::print(found, call.console);
    return found.isEmpty() ? ExitCode::NothingFound : ExitCode::Ok;
}
