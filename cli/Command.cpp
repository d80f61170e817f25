// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Command.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"

int Command::usageError(Console &console, const QString &text) const
{
    return console.usageError(text, name());
}

QString Command::standardHelp(const QString &details, bool withSelection) const
{
    const QString usage = (name() + u' ' + arguments()).trimmed();
    return tr("Usage: %1 [--store PATH] %2\n\n%3\n").arg(NotesProgram, usage, details) + Options::commonHelp() + u'\n'
           + (withSelection ? Options::selectionHelp() + u'\n' : QString()) + ExitCode::help();
}

bool Command::checkArguments(const Call &call, qsizetype count) const
{
    const QStringList &values = call.arguments;
    if (values.size() < count)
        usageError(call.console, tr("\"%1\" needs %2.").arg(name(), arguments()));
    else if (values.size() > count)
        usageError(call.console, tr("Unexpected argument \"%1\".").arg(values.at(count)));
    else if (count > 0 && values.first().isEmpty())
        usageError(call.console, tr("%1 must not be empty.").arg(arguments()));
    else
        return true;
    return false;
}
