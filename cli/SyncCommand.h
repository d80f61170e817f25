// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/SyncCommandBase.h"

class SyncState;

// "sync [--dry-run | --status]": one two-way pass with the server set up by
// "sync setup", a pass that only says what it would change, or the status
// of the last pass without asking the server.
class SyncCommand : public SyncCommandBase
{
    Q_DECLARE_TR_FUNCTIONS(SyncCommandLine)

public:
    QString name() const override;
    QString arguments() const override;
    QString summary() const override;

protected:
    int runSync(const Call &call) const override;

private:
    int pass(const Call &call, bool dryRun) const;
    int status(const Call &call) const;
};
