// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ListCommand.h"

#include "cli/ExitCode.h"
#include "cli/NoteListing.h"
#include "cli/NoteSelection.h"
#include "cli/Options.h"

QString ListCommand::name() const
{
    return QStringLiteral("list");
}

QString ListCommand::summary() const
{
    return tr("List every note with its date, month, year and day.");
}

QString ListCommand::help() const
{
    return standardHelp(tr("Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or \"-\"\n"
                        "when the month and year name none), the month and the year as the planner showed them,\n"
                        "the day, and the text, with \\ written \\\\, tab \\t, line break \\n, carriage return \\r\n"
                        "and any other control character \\xHH. Dated notes come first, in date order; then the\n"
                        "others, by month and year, in day order.\n"),
                        true);
}

QList<QCommandLineOption> ListCommand::options() const
{
    return Options::selection();
}

int ListCommand::run(const Call &call) const
{
    NoteSelection selection;
    if (!checkArguments(call, 0) || !selection.take(call, *this))
        return ExitCode::UsageError;
    NoteListing::print(selection.notes(call.storePath), call.console);
    return ExitCode::Ok;
}
