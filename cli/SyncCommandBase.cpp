// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncCommandBase.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"
#include "sync/Collection.h"

namespace {

int exitCodeOf(const SyncFailure &failure)
{
    switch (failure.kind) {
    case SyncFailure::Network: return ExitCode::NetworkError;
    case SyncFailure::Login: return ExitCode::LoginRefused;
    case SyncFailure::Server: break;
    }
    return ExitCode::ServerError;
}

} // namespace

QString SyncCommandBase::help() const
{
    return tr(
        "Usage: tavorin-notes [--store PATH] sync [--dry-run | --status | --watch]\n"
        "       tavorin-notes sync setup URL --user NAME [--password-command CMD]\n\n"
        "Keeps the notes the same here and on a CalDAV server (Radicale, Nextcloud, Baikal,\n"
        "Fastmail ...), as one journal entry (VJOURNAL) per note, so that they show on every\n"
        "machine and phone that uses the same calendar. Nothing is ever deleted: a note\n"
        "changed on both sides keeps both texts, the one from here first, then a line\n"
        "\"— changed on another device —\" and the server's; an entry removed on the server\n"
        "is uploaded again. See docs/sync.md.\n\n"
        "  sync                 One two-way pass; a summary line at the end.\n"
        "  sync --dry-run       Say what a pass would change, changing nothing.\n"
        "  sync --status        The last pass, its time and the notes waiting to go up.\n"
        "  sync --watch         Keep syncing until stopped (SIGTERM, Ctrl+C): a pass within\n"
        "                       2 seconds of a change to the notes, a look at the server\n"
        "                       every minute (every 4 seconds while a planner is open); a\n"
        "                       summary line for each pass that changed something. A\n"
        "                       failing server is tried again less and less often, with\n"
        "                       one message. The service tavorin-notes-watch runs it:\n"
        "                       systemctl --user enable --now tavorin-notes-watch\n"
        "  sync setup URL --user NAME [--password-command CMD]\n"
        "                       Use the calendar at URL, or find the user's calendars from\n"
        "                       the server's address and make one called \"Tavorin Planner\".\n"
        "                       The password comes from the keyring (Secret Service); without\n"
        "                       one, CMD prints it (e.g. \"pass show dav\"). Without CMD, setup\n"
        "                       reads the password once and keeps it in the keyring.\n"
        "                       Settings go to $XDG_CONFIG_HOME/Quillmere/sync.conf (0600);\n"
        "                       the password never does. Over plain http to another\n"
        "                       machine the password could be read on the way: refused\n"
        "                       unless --allow-insecure-http is given.\n\n")
           + tr(
        "Options of sync setup:\n"
        "  --as events          Each note as an all-day event of its day, which phones'\n"
        "                       calendars show; the default where the calendar takes no\n"
        "                       journal entries (Google, iCloud). --as journal insists on\n"
        "                       journal entries. In a calendar that is not \"Tavorin Planner\",\n"
        "                       only the notes' own entries are read, never appointments.\n"
        "  --certificate FILE   Trust the certificate (or certificate authority) in FILE\n"
        "                       for this server, e.g. a self-signed one; kept in sync.conf.\n\n")
           + ExitCode::help();
}

QList<QCommandLineOption> SyncCommandBase::options() const
{
    return {Options::dryRun(), Options::status(), Options::watch(), Options::user(), Options::passwordCommand(),
            Options::allowInsecureHttp(), Options::as(), Options::certificate()};
}

int SyncCommandBase::usageError(Console &console, const QString &text) const
{
    console.message(text);
    console.message(tr("Try \"tavorin-notes sync --help\"."));
    return ExitCode::UsageError;
}

int SyncCommandBase::run(const Call &call) const
{
    try {
        return runSync(call);
    } catch (const SyncFailure &failure) {
        call.console.message(failure.description);
        return exitCodeOf(failure);
    }
}
