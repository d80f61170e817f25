// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/SyncCommandBase.h"

// "sync setup URL --user NAME [--password-command CMD]": the calendar that
// sync uses, found or made on the server, kept in sync.conf; the password in
// the keyring, or the command that prints it.
class SyncSetupCommand : public SyncCommandBase
{
    Q_DECLARE_TR_FUNCTIONS(SyncCommandLine)

public:
    QString name() const override;
    QString arguments() const override;
    // None: the line of "sync" in the program's help describes it.
    QString summary() const override;

protected:
    int runSync(const Call &call) const override;
};
