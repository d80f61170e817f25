// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RestoreCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"
#include "settings/StoreRestore.h"
#include "sync/SyncState.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>

namespace {

// The restored notes are no edits made here: were they taken as such, the
// next sync would put them over the newer notes on the server. So the sync
// state, where there is one, marks every note as restored first: a restore
// cut short then costs a merge, never a note on the server.
void markSyncStateRestored(const QString &storePath)
{
    const QString statePath = SyncState::pathBeside(storePath);
    if (QFileInfo::exists(statePath))
        SyncState(statePath).markRestored();
}

} // namespace

QString RestoreCommand::name() const
{
    return QStringLiteral("restore");
}

QString RestoreCommand::arguments() const
{
    return QStringLiteral("FILE");
}

QString RestoreCommand::summary() const
{
    return tr("Replace the store's content with the copy in FILE.");
}

QString RestoreCommand::help() const
{
    return standardHelp(tr("Replaces the content of the store with that of FILE, a backup or a safety copy. FILE\n"
                        "must be a sound notes store holding nothing the planner does not make, or nothing\n"
                        "is changed. The current store is first kept next to it as\n"
                        "<store>.before-restore-YYYYMMDD-HHMMSS (the newest seven are kept).\n"
                        "Refused unless --force is given: while a planner has the store open, and when FILE\n"
                        "holds no note or fewer than half as many as the store.\n")
                        + tr("After a restore, the next sync merges each restored note that differs from the\n"
                             "server's with it, as a note changed on both sides: the server's text is kept too.\n"));
}

QList<QCommandLineOption> RestoreCommand::options() const
{
    return {Options::force()};
}

int RestoreCommand::run(const Call &call) const
{
    if (!checkArguments(call, 1))
        return ExitCode::UsageError;
    const QString &file = call.arguments.first();
    const QString kept = StoreRestore::restore(
        file, call.storePath, QDateTime::currentDateTime(), call.parser.isSet(Options::force()),
        [&call](int copied, int total) { call.console.progress(tr("restored pages"), copied, total); },
        [&call] { markSyncStateRestored(call.storePath); });
    call.console.note(kept.isEmpty() ? tr("Restored the notes store %1 from %2.").arg(call.storePath, file)
                                     : tr("Restored the notes store %1 from %2; the former store is kept as %3.")
                                           .arg(call.storePath, file, kept));
    return ExitCode::Ok;
}
