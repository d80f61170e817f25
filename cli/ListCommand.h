// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"

// "list": every note of the selection, one line each (NoteListing).
class ListCommand : public Command
{
    // Its texts are translated as the command line's own, where they were first.
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    QString name() const override;
    QString summary() const override;
    QString help() const override;
    QList<QCommandLineOption> options() const override;
    int run(const Call &call) const override;
};
