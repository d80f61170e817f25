// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MoveLanguageCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"
#include "notes/LanguageMove.h"
#include "notes/NoteStore.h"
#include "platform/Failure.h"
#include "settings/StoreRestore.h"
#include "settings/StoreUseLock.h"
#include "sync/SyncState.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include <memory>

namespace {

const QString KeptCopyInfix = QStringLiteral(".before-move-language-");

} // namespace

QString MoveLanguageCommand::name() const
{
    return QStringLiteral("move-language");
}

QString MoveLanguageCommand::arguments() const
{
    return QStringLiteral("[--dry-run] [--force]");
}

QString MoveLanguageCommand::summary() const
{
    return tr("Move the notes to the keys of the desktop's language.");
}

QString MoveLanguageCommand::help() const
{
    return standardHelp(tr("The planner stores each day's note under a key holding the month's name in the\n"
                           "desktop's language (\"March_2024_txtNote_5\", \"März_2024_txtNote_5\"). After the\n"
                           "language changed, the window no longer shows the notes stored before: run this\n"
                           "once, with the planner closed, to move every note to the key of its day in the\n"
                           "current language. Where both keys hold a note, the two are merged: what both\n"
                           "hold appears once, nothing either holds is lost. Keys that name no date stay.\n"
                           "The store is first kept next to it as\n"
                           "<store>.before-move-language-YYYYMMDD-HHMMSS (the newest seven are kept).\n\n"
                           "  --dry-run  Show the moves and change nothing.\n"
                           "  --force    Move also while a planner has the store open.\n"));
}

QList<QCommandLineOption> MoveLanguageCommand::options() const
{
    return {Options::dryRun(), Options::force()};
}

int MoveLanguageCommand::run(const Call &call) const
{
    if (!call.arguments.isEmpty())
        return usageError(call.console, tr("Unexpected argument \"%1\".").arg(call.arguments.first()));
    const bool dryRun = call.parser.isSet(Options::dryRun());
    const QLocale language;
    NoteStore store(call.storePath);
    const QList<LanguageMove::Move> moves = LanguageMove::plan(store.read(), language);
    for (const LanguageMove::Move &move : moves) {
        const bool merged = move.into && !move.into->text.isEmpty() && !move.from.text.isEmpty();
        call.console.write((dryRun ? tr("would move %1 to %2%3\n") : tr("move %1 to %2%3\n"))
                               .arg(move.from.key, move.result.key, merged ? tr(", merged with the note there") : QString()));
    }
    if (moves.isEmpty()) {
        call.console.note(tr("Every note is kept under the key of the current language (%1): nothing to move.")
                              .arg(language.nativeLanguageName()));
        return ExitCode::Ok;
    }
    if (dryRun)
        return ExitCode::Ok;

    const StoreUseLock lock(call.storePath, StoreUseLock::Use::Restore);
    if (!lock.isHeld() && !call.parser.isSet(Options::force())) {
        throw Failure(tr("A running planner has the notes store %1 open and would store what it shows over the moved "
                         "notes. Close it first, or use --force.").arg(call.storePath));
    }
    const QString kept = StoreRestore::keepCopy(call.storePath, QDateTime::currentDateTime(), KeptCopyInfix);
    const QString statePath = SyncState::pathBeside(call.storePath);
    std::unique_ptr<SyncState> state;
    if (QFileInfo::exists(statePath))
        state = std::make_unique<SyncState>(statePath);
    int moved = 0;
    for (const LanguageMove::Move &move : moves) {
        if (!store.move(move.from, move.into, move.result)) {
            throw Failure(tr("The note %1 changed while it was being moved; %2 of %3 notes were moved. Run the command again.")
                              .arg(move.from.key).arg(moved).arg(moves.size()));
        }
        if (state)
            state->moveKey(move.from.key, move.result.key);
        ++moved;
    }
    call.console.note(tr("Moved %1 notes to the keys of %2; the former store is kept as %3.")
                          .arg(moved).arg(language.nativeLanguageName(), kept));
    return ExitCode::Ok;
}
