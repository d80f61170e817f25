// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/BackupCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "settings/StoreBackup.h"

QString BackupCommand::name() const
{
    return QStringLiteral("backup");
}

QString BackupCommand::arguments() const
{
    return QStringLiteral("FILE");
}

QString BackupCommand::summary() const
{
    return tr("Copy the store to FILE, also while the planner runs.");
}

QString BackupCommand::help() const
{
    return standardHelp(tr("Copies the store to FILE, which only you can read (mode 0600); an existing FILE is\n"
                        "replaced as a whole, by renaming a complete copy over it. The copy is consistent\n"
                        "even while the planner writes. FILE must be a regular file or a new name: \"-\",\n"
                        "devices, pipes, folders, and the store, its -wal, -shm and -journal files and its\n"
                        "copies are refused.\n"));
}

int BackupCommand::run(const Call &call) const
{
    if (!checkArguments(call, 1))
        return ExitCode::UsageError;
    StoreBackup::backup(call.storePath, call.arguments.first(), [&call](int copied, int total) {
        call.console.progress(tr("copied pages"), copied, total);
    });
    return ExitCode::Ok;
}
