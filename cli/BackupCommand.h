// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"

// "backup FILE": a copy of the store, also while the planner writes to it.
class BackupCommand : public Command
{
    // Its texts are translated as the command line's own, where they were first.
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    QString name() const override;
    QString arguments() const override;
    QString summary() const override;
    QString help() const override;
    int run(const Call &call) const override;
};
