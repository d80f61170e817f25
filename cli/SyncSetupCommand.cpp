// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncSetupCommand.h"

#include "cli/Console.h"
#include "cli/ExitCode.h"
#include "cli/Options.h"
#include "cli/SyncConfig.h"
#include "platform/ApplicationInfo.h"
#include "platform/Failure.h"
#include "sync/caldav/CalDavCollection.h"
#include "sync/caldav/CalendarDiscovery.h"

#include <QFileInfo>

#include <QCommandLineParser>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {

const QString CollectionName = ApplicationInfo::ProductName;

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

// Basic authentication over plain http to another machine shows the
// password to everyone on the way: refused unless the user allows it.
bool checkedInsecureHttp(const SyncCommandBase::Call &call, const QUrl &url)
{
    if (url.scheme() == u"https" || HttpExchange::isLoopback(url))
        return false;
    if (!call.parser.isSet(Options::allowInsecureHttp()))
        throw Failure(QCoreApplication::translate("SyncCommandLine", "%1 is plain http: the password would travel unencrypted "
                                                  "and anyone on the way could read it. Use https, or give "
                                                  "--allow-insecure-http to use it anyway.").arg(url.toString()));
    call.console.message(QCoreApplication::translate("SyncCommandLine", "Warning: %1 is plain http; the password travels "
                                                     "unencrypted to it.").arg(url.toString()));
    return true;
}

} // namespace

QString SyncSetupCommand::name() const
{
    return QStringLiteral("sync setup");
}

QString SyncSetupCommand::arguments() const
{
    return QStringLiteral("URL --user NAME [--password-command CMD] [--as events|journal] [--certificate FILE]");
}

QString SyncSetupCommand::summary() const
{
    return QString();
}

int SyncSetupCommand::runSync(const Call &call) const
{
    if (call.arguments.size() != 1 || !call.parser.isSet(Options::user()))
        return usageError(call.console, tr("\"sync setup\" needs URL and --user NAME."));
    const QString url = call.arguments.first();
    const QString user = call.parser.value(Options::user());
    const QString passwordCommand = call.parser.value(Options::passwordCommand());
    SyncConfig config{QUrl(url), user, passwordCommand};
    SyncConfig::checkNoUserInfo(config.collection);
    if (!config.collection.isValid() || !config.collection.scheme().startsWith(u"http"))
        throw Failure(tr("%1 is no http or https address.").arg(url));
    config.allowInsecureHttp = checkedInsecureHttp(call, config.collection);
    std::optional<NoteJournal::Form> wanted;
    if (call.parser.isSet(Options::as())) {
        const QString as = call.parser.value(Options::as());
        if (as != u"events" && as != u"journal")
            return usageError(call.console, tr("--as takes \"events\" or \"journal\", not \"%1\".").arg(as));
        wanted = as == u"events" ? NoteJournal::Form::Event : NoteJournal::Form::Journal;
    }
    if (call.parser.isSet(Options::certificate()))
        config.certificate = QFileInfo(call.parser.value(Options::certificate())).absoluteFilePath();
    const QList<QSslCertificate> trusted = config.trustedCertificates(); // before the password is asked for
    QString password;
    if (passwordCommand.isEmpty()) {
        password = readPassword();
        if (!config.storeInKeyring(password))
            throw Failure(tr("No keyring answered to keep the password: give --password-command."));
    } else {
        password = config.password();
    }
    CalDavCollection client(config.collection, user, password);
    client.allowInsecureHttp(config.allowInsecureHttp);
    client.trustCertificates(trusted);
    const CalendarDiscovery::Found found = CalendarDiscovery(client, CollectionName).find(config.collection, wanted);
    config.collection = found.url;
    config.form = found.form;
    config.ownCalendar = found.own;
    config.write(SyncConfig::defaultPath());
    for (const QString &notice : found.notices)
        call.console.message(notice);
    if (!found.own)
        call.console.message(tr("%1 is not the notes' own calendar: sync takes only the notes' entries from it, "
                                "nothing else in it becomes a note.").arg(found.url.toString()));
    call.console.message(tr("Sync set up with %1; the settings are in %2.").arg(config.collection.toString(), SyncConfig::defaultPath()));
    return ExitCode::Ok;
}
