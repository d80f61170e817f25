// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"
#include "cli/SyncConfig.h"
#include "cli/SyncWatch.h"
#include "notes/NoteStore.h"
#include "platform/Failure.h"
#include "sync/SyncPass.h"
#include "sync/SyncState.h"
#include "sync/caldav/CalDavCollection.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>

#include <memory>

#include <unistd.h>

namespace {

// A pass longer than this shows its progress (on a terminal only).
constexpr qint64 ProgressAfterMs = 1000;

bool changedAnything(const SyncPass::Summary &summary)
{
    return summary.uploaded + summary.downloaded + summary.merged + summary.restored + summary.added > 0;
}

QString summaryLine(const SyncPass::Summary &summary, int requests)
{
    return QCoreApplication::translate("SyncCommandLine", "%1 uploaded, %2 taken from the server, %3 merged, %4 uploaded again, %5 added from other programs; %6 requests")
        .arg(summary.uploaded).arg(summary.downloaded).arg(summary.merged).arg(summary.restored).arg(summary.added).arg(requests);
}

} // namespace

QString SyncCommand::name() const
{
    return QStringLiteral("sync");
}

QString SyncCommand::arguments() const
{
    return QStringLiteral("[setup URL --user NAME | --dry-run | --status | --watch]");
}

QString SyncCommand::summary() const
{
    return QCoreApplication::translate("NotesCommandLine", "Sync the notes with a CalDAV server, both ways.");
}

int SyncCommand::runSync(const Call &call) const
{
    if (!call.arguments.isEmpty())
        return usageError(call.console, tr("Unexpected argument \"%1\".").arg(call.arguments.first()));
    const bool dryRun = call.parser.isSet(Options::dryRun());
    const bool status = call.parser.isSet(Options::status());
    const bool watch = call.parser.isSet(Options::watch());
    if (dryRun && status)
        return usageError(call.console, tr("--dry-run and --status do not go together."));
    if (watch && (dryRun || status))
        return usageError(call.console, tr("--watch goes with neither --dry-run nor --status."));
    if (watch)
        return this->watch(call);
    return status ? this->status(call) : pass(call, dryRun);
}

namespace {

SyncConfig setUpConfig()
{
    SyncConfig config = SyncConfig::read(SyncConfig::defaultPath());
    if (config.collection.isEmpty())
        throw Failure(SyncCommand::tr("Sync is not set up: run \"tavorin-notes sync setup URL --user NAME\"."));
    return config;
}

// A client for the set-up server, with the user's choices on plain http and time limits.
std::unique_ptr<CalDavCollection> connectTo(const SyncConfig &config)
{
    auto client = std::make_unique<CalDavCollection>(config.collection, config.user, config.password());
    client->allowInsecureHttp(config.allowInsecureHttp);
    client->setRequestTimeout(config.timeoutSeconds);
    client->trustCertificates(config.trustedCertificates());
    return client;
}

} // namespace

int SyncCommand::pass(const Call &call, bool dryRun) const
{
    const SyncConfig config = setUpConfig();
    const auto client = connectTo(config);
    return passWith(call, config, *client, dryRun);
}

// The settings and the password are read once, and again after the server
// refused the login (the password may have changed meanwhile).
int SyncCommand::watch(const Call &call) const
{
    const SyncConfig config = setUpConfig();
    std::unique_ptr<CalDavCollection> client;
    QStringList reported;
    SyncWatch watch(call.storePath, [&] {
        if (!client)
            client = connectTo(config);
        client->beginPass(); // the pass deadline is each pass's, not the whole watch's
        try {
            passWith(call, config, *client, false, &reported);
        } catch (const SyncFailure &failure) {
            if (failure.kind == SyncFailure::Login)
                client.reset();
            throw;
        }
    }, call.console);
    return watch.run();
}

int SyncCommand::passWith(const Call &call, const SyncConfig &config, Collection &client, bool dryRun,
                          QStringList *reported) const
{
    const int requestsBefore = client.requestCount();
    SyncState state(SyncState::pathBeside(call.storePath));
    NoteStore store(call.storePath);
    SyncPass pass(client, state, store);
    pass.setCalendar({config.form, config.ownCalendar});
    Console &console = call.console;
    QElapsedTimer clock;
    clock.start();
    qint64 shownMs = 0;
    const auto summary = pass.run(dryRun, QDateTime::currentDateTimeUtc(), [&](qint64 done, qint64 total) {
        std::FILE *err = console.errorStream();
        if (!console.isQuiet() && clock.elapsed() > ProgressAfterMs && isatty(fileno(err))
            && (clock.elapsed() - shownMs > 100 || done == total)) {
            shownMs = clock.elapsed();
            const QString progress = tr("sync %1 of %2").arg(done).arg(total);
            std::fprintf(err, "\rtavorin-notes: %s%s", progress.toLocal8Bit().constData(), done == total ? "\n" : "");
            std::fflush(err);
        }
    });
    if (dryRun) {
        for (const QString &change : summary.changes)
            console.write(tr("would %1\n").arg(change));
    }
    for (const QString &problem : summary.problems) {
        if (!reported || !reported->contains(problem))
            console.message(problem);
    }
    const QString line = summaryLine(summary, client.requestCount() - requestsBefore);
    if (!reported)
        console.write((dryRun ? tr("dry run: ") : tr("sync: ")) + line + u'\n');
    else if (changedAnything(summary))
        console.note(tr("sync: ") + line); // at once, also into a log
    if (reported)
        *reported = summary.problems;
    // A watch's passes that changed nothing are recorded once a minute, not
    // each time: every record is a write to the disk.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime recorded = QDateTime::fromString(state.value(QStringLiteral("last-pass")), Qt::ISODate);
    const bool record = !reported || changedAnything(summary) || !recorded.isValid() || recorded.secsTo(now) >= 60;
    if (!dryRun && record) {
        state.setValue(QStringLiteral("last-pass"), now.toString(Qt::ISODate));
        state.setValue(QStringLiteral("last-summary"), line);
    }
    return summary.problems.isEmpty() ? ExitCode::Ok : ExitCode::ServerError;
}

int SyncCommand::status(const Call &call) const
{
    const SyncConfig config = SyncConfig::read(SyncConfig::defaultPath());
    SyncState state(SyncState::pathBeside(call.storePath));
    const QString last = state.value(QStringLiteral("last-pass"));
    Console &console = call.console;
    console.write(tr("server: %1\n").arg(config.collection.isEmpty() ? tr("(not set up)") : config.collection.toString()));
    console.write(last.isEmpty() ? tr("last pass: none yet\n")
                                 : tr("last pass: %1: %2\n").arg(last, state.value(QStringLiteral("last-summary"))));
    NoteStore store(call.storePath);
    const QStringList waiting = SyncPass::waitingKeys(state, store);
    console.write(tr("waiting to go up: %1\n").arg(waiting.size()));
    for (const QString &key : waiting)
        console.write(QStringLiteral("  %1\n").arg(key));
    return ExitCode::Ok;
}
