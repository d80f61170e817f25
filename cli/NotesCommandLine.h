// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Console.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

class Command;

// The command line of tavorin-notes: the program's own options (--store, -q,
// -h, --version) and help, then the command they name (see Command), which
// reads, exports, imports or syncs the notes, or backs the store up or
// restores it. Notes go to standard output or a file; messages and progress
// to standard error.
class NotesCommandLine
{
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    NotesCommandLine(std::FILE *out, std::FILE *err)
        : m_console(out, err)
    {
    }

    // Runs the command that arguments (the program's, name first) give.
    // Output that could not be written in full never passes for success:
    // the output is flushed and checked here, and the failure named.
    int run(const QStringList &arguments);

private:
    int runArguments(const QStringList &arguments);
    int runCommand(const Command &named, const QStringList &arguments, QString storePath);
    QString programHelp() const;

    Console m_console;
};
