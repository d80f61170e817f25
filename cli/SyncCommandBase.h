// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"

struct SyncFailure;

// What "sync" and "sync setup" share: one help, one set of options, usage
// errors that point to "sync --help", and the exit code of each kind of
// failure of the server.
class SyncCommandBase : public Command
{
    Q_DECLARE_TR_FUNCTIONS(SyncCommandLine)

public:
    QString help() const final;
    QList<QCommandLineOption> options() const final;
    int usageError(Console &console, const QString &text) const final;
    // Runs runSync(); a SyncFailure ends it with the exit code of its kind.
    int run(const Call &call) const final;

protected:
    virtual int runSync(const Call &call) const = 0;
};
