// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/SyncCommandBase.h"

#include <QStringList>

class Collection;
class SyncState;
struct SyncConfig;

// "sync [--dry-run | --status | --watch]": one two-way pass with the server
// set up by "sync setup", a pass that only says what it would change, the
// status of the last pass without asking the server, or passes until stopped.
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
    // reported: a pass of --watch, which says nothing when nothing changed
    // and no problem it said before (kept there).
    int passWith(const Call &call, const SyncConfig &config, Collection &client, bool dryRun,
                 QStringList *reported = nullptr) const;
    int watch(const Call &call) const;
    int status(const Call &call) const;
};
