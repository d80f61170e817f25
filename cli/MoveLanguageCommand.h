// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Command.h"

// "move-language": after a change of the desktop's language, every note of a
// day goes to the key the window now builds for it (LanguageMove), after a
// copy of the store was kept; the sync state follows the notes.
class MoveLanguageCommand : public Command
{
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    QString name() const override;
    QString arguments() const override;
    QString summary() const override;
    QString help() const override;
    QList<QCommandLineOption> options() const override;
    int run(const Call &call) const override;
};
