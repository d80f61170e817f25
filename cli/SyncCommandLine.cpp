// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncCommandLine.h"

#include "notes/NoteStore.h"
#include "sync/caldav/CalDavCollection.h"
#include "cli/NotesCommandLine.h"
#include "cli/SyncConfig.h"
#include "sync/SyncPass.h"
#include "sync/SyncState.h"
#include "platform/ApplicationInfo.h"
#include "platform/Failure.h"

#include <QCommandLineParser>
#include <QDateTime>
#include <QElapsedTimer>

#include <termios.h>
#include <unistd.h>

namespace {

const QString CollectionName = ApplicationInfo::ProductName;

// A pass longer than this shows its progress (on a terminal only).
constexpr qint64 ProgressAfterMs = 1000;

int exitCodeOf(const SyncFailure &failure)
{
    switch (failure.kind) {
    case SyncFailure::Network: return NotesCommandLine::NetworkError;
    case SyncFailure::Login: return NotesCommandLine::LoginRefused;
    case SyncFailure::Server: break;
    }
    return NotesCommandLine::ServerError;
}

QString summaryLine(const SyncPass::Summary &summary, int requests)
{
    return QCoreApplication::translate("SyncCommandLine", "%1 uploaded, %2 taken from the server, %3 merged, %4 uploaded again, %5 added from other programs; %6 requests")
        .arg(summary.uploaded).arg(summary.downloaded).arg(summary.merged).arg(summary.restored).arg(summary.added).arg(requests);
}

// The password typed on the terminal without echo, or a line of standard input.
QString readPassword()
{
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        std::fputs(QCoreApplication::translate("SyncCommandLine", "Password: ").toLocal8Bit().constData(), stderr);
        std::fflush(stderr);
    }
    char buffer[1024] = {};
    const bool read = std::fgets(buffer, sizeof buffer, stdin) != nullptr;
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    return read ? QString::fromUtf8(buffer).section(u'\n', 0, 0) : QString();
}

} // namespace

QString SyncCommandLine::help()
{
    return tr(
        "Usage: tavorin-notes [--store PATH] sync [--dry-run | --status]\n"
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
        "  sync setup URL --user NAME [--password-command CMD]\n"
        "                       Use the calendar at URL, or find the user's calendars from\n"
        "                       the server's address and make one called \"Tavorin Planner\".\n"
        "                       The password comes from the keyring (Secret Service); without\n"
        "                       one, CMD prints it (e.g. \"pass show dav\"). Without CMD, setup\n"
        "                       reads the password once and keeps it in the keyring.\n"
        "                       Settings go to $XDG_CONFIG_HOME/Quillmere/sync.conf (0600);\n"
        "                       the password never does.\n\n")
           + NotesCommandLine::exitCodesHelp();
}

int SyncCommandLine::run(const QStringList &arguments, const QString &storePath, bool quiet)
{
    m_storePath = storePath;
    QCommandLineParser parser;
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), QStringLiteral("dry-run"));
    const QCommandLineOption status(QStringLiteral("status"), QStringLiteral("status"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("user"), QStringLiteral("NAME"));
    const QCommandLineOption command(QStringLiteral("password-command"), QStringLiteral("password-command"), QStringLiteral("CMD"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help"));
    const QCommandLineOption store(QStringLiteral("store"), QStringLiteral("store"), QStringLiteral("PATH"));
    const QCommandLineOption quietOption({QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("quiet"));
    parser.addOptions({dryRun, status, user, command, helpOption, store, quietOption});
    auto usage = [this](const QString &text) {
        message(text);
        message(tr("Try \"tavorin-notes sync --help\"."));
        return int(NotesCommandLine::UsageError);
    };
    if (!parser.parse(arguments))
        return usage(parser.errorText());
    if (parser.isSet(helpOption)) {
        write(help());
        return NotesCommandLine::Ok;
    }
    if (parser.isSet(store)) {
        m_storePath = parser.value(store);
        if (m_storePath.isEmpty())
            return usage(QCoreApplication::translate("NotesCommandLine", "--store must not be empty."));
    }
    m_quiet = quiet || parser.isSet(quietOption);
    const QStringList values = parser.positionalArguments();
    try {
        if (values.value(0) == u"setup") {
            if (values.size() != 2 || !parser.isSet(user))
                return usage(tr("\"sync setup\" needs URL and --user NAME."));
            return setup(values.at(1), parser.value(user), parser.value(command));
        }
        if (!values.isEmpty())
            return usage(tr("Unexpected argument \"%1\".").arg(values.first()));
        if (parser.isSet(dryRun) && parser.isSet(status))
            return usage(tr("--dry-run and --status do not go together."));
        return parser.isSet(status) ? this->status() : pass(parser.isSet(dryRun));
    } catch (const SyncFailure &failure) {
        message(failure.description);
        return exitCodeOf(failure);
    } catch (const Failure &failure) {
        message(failure.description());
    }
    return NotesCommandLine::StoreError;
}

int SyncCommandLine::setup(const QString &url, const QString &user, const QString &passwordCommand)
{
    SyncConfig config{QUrl(url), user, passwordCommand};
    if (!config.collection.isValid() || !config.collection.scheme().startsWith(u"http"))
        throw Failure(tr("%1 is no http or https address.").arg(url));
    QString password;
    if (passwordCommand.isEmpty()) {
        password = readPassword();
        if (!config.storeInKeyring(password))
            throw Failure(tr("No keyring answered to keep the password: give --password-command."));
    } else {
        password = config.password();
    }
    CalDavCollection client(config.collection, user, password);
    config.collection = client.findOrMakeCollection(config.collection, CollectionName);
    config.write(SyncConfig::defaultPath());
    message(tr("Sync set up with %1; the settings are in %2.").arg(config.collection.toString(), SyncConfig::defaultPath()));
    return NotesCommandLine::Ok;
}

int SyncCommandLine::pass(bool dryRun)
{
    const SyncConfig config = SyncConfig::read(SyncConfig::defaultPath());
    if (config.collection.isEmpty())
        throw Failure(tr("Sync is not set up: run \"tavorin-notes sync setup URL --user NAME\"."));
    CalDavCollection client(config.collection, config.user, config.password());
    SyncState state(SyncState::pathBeside(m_storePath));
    NoteStore store(m_storePath);
    SyncPass pass(client, state, store);
    QElapsedTimer clock;
    clock.start();
    qint64 shownMs = 0;
    const auto summary = pass.run(dryRun, QDateTime::currentDateTimeUtc(), [&](qint64 done, qint64 total) {
        if (!m_quiet && clock.elapsed() > ProgressAfterMs && isatty(fileno(m_err)) && (clock.elapsed() - shownMs > 100 || done == total)) {
            shownMs = clock.elapsed();
            const QString progress = tr("sync %1 of %2").arg(done).arg(total);
            std::fprintf(m_err, "\rtavorin-notes: %s%s", progress.toLocal8Bit().constData(), done == total ? "\n" : "");
            std::fflush(m_err);
        }
    });
    if (dryRun) {
        for (const QString &change : summary.changes)
            write(tr("would %1\n").arg(change));
    }
    for (const QString &problem : summary.problems)
        message(problem);
    const QString line = summaryLine(summary, client.requestCount());
    write((dryRun ? tr("dry run: ") : tr("sync: ")) + line + u'\n');
    if (!dryRun) {
        state.setValue(QStringLiteral("last-pass"), QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
        state.setValue(QStringLiteral("last-summary"), line);
    }
    return summary.problems.isEmpty() ? NotesCommandLine::Ok : NotesCommandLine::ServerError;
}

int SyncCommandLine::status()
{
    const SyncConfig config = SyncConfig::read(SyncConfig::defaultPath());
    SyncState state(SyncState::pathBeside(m_storePath));
    const QString last = state.value(QStringLiteral("last-pass"));
    write(tr("server: %1\n").arg(config.collection.isEmpty() ? tr("(not set up)") : config.collection.toString()));
    write(last.isEmpty() ? tr("last pass: none yet\n")
                         : tr("last pass: %1: %2\n").arg(last, state.value(QStringLiteral("last-summary"))));
    NoteStore store(m_storePath);
    const QStringList waiting = SyncPass::waitingKeys(state, store);
    write(tr("waiting to go up: %1\n").arg(waiting.size()));
    for (const QString &key : waiting)
        write(QStringLiteral("  %1\n").arg(key));
    return NotesCommandLine::Ok;
}

void SyncCommandLine::write(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
}

void SyncCommandLine::message(const QString &text)
{
    std::fprintf(m_err, "tavorin-notes: %s\n", text.toLocal8Bit().constData());
    std::fflush(m_err);
}
