// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"

// "restore [--force] FILE": the store's content replaced with a copy's. Where
// sync keeps a state beside the store, its notes are marked as restored first.
class RestoreCommand : public Command
{
    // Its texts are translated as the command line's own, where they were first.
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    QString name() const override;
    QString arguments() const override;
    QString summary() const override;
    QString help() const override;
    QList<QCommandLineOption> options() const override;
    int run(const Call &call) const override;
};
