// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Options.h"

#include "settings/SettingsStore.h"

#include <QCoreApplication>

namespace Options {

namespace {

QCommandLineOption flag(const QStringList &names)
{
    return QCommandLineOption(names, names.last());
}

QCommandLineOption withValue(const QStringList &names, const QString &valueName, const QString &defaultValue = {})
{
    return QCommandLineOption(names, names.last(), valueName, defaultValue);
}

} // namespace

QCommandLineOption store() { return withValue({QStringLiteral("store")}, QStringLiteral("PATH")); }
QCommandLineOption quiet() { return flag({QStringLiteral("q"), QStringLiteral("quiet")}); }
QCommandLineOption help() { return flag({QStringLiteral("h"), QStringLiteral("help")}); }
QCommandLineOption version() { return flag({QStringLiteral("version")}); }
QCommandLineOption format() { return withValue({QStringLiteral("format")}, QStringLiteral("FORMAT"), QStringLiteral("markdown")); }
QCommandLineOption force() { return flag({QStringLiteral("force")}); }
QCommandLineOption dryRun() { return flag({QStringLiteral("dry-run")}); }
QCommandLineOption status() { return flag({QStringLiteral("status")}); }
QCommandLineOption watch() { return flag({QStringLiteral("watch")}); }
QCommandLineOption user() { return withValue({QStringLiteral("user")}, QStringLiteral("NAME")); }
QCommandLineOption passwordCommand() { return withValue({QStringLiteral("password-command")}, QStringLiteral("CMD")); }
QCommandLineOption allowInsecureHttp() { return flag({QStringLiteral("allow-insecure-http")}); }
QCommandLineOption as() { return withValue({QStringLiteral("as")}, QStringLiteral("KIND")); }
QCommandLineOption certificate() { return withValue({QStringLiteral("certificate")}, QStringLiteral("FILE")); }
QCommandLineOption from() { return withValue({QStringLiteral("from")}, QStringLiteral("DATE")); }
QCommandLineOption to() { return withValue({QStringLiteral("to")}, QStringLiteral("DATE")); }
QCommandLineOption month() { return withValue({QStringLiteral("month")}, QStringLiteral("YYYY-MM")); }
QCommandLineOption output() { return withValue({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("FILE")); }

QList<QCommandLineOption> common()
{
    return {store(), quiet(), help()};
}

QList<QCommandLineOption> selection()
{
    return {from(), to(), month(), output()};
}

QString commonHelp()
{
    return QCoreApplication::translate("NotesCommandLine",
        "Options:\n"
        "  --store PATH   Use the store at PATH instead of the planner's:\n"
        "                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, here\n"
        "                 %1\n"
        "  -q, --quiet    Show no progress and no notes about skipped entries, only\n"
        "                 errors. Progress shows only when standard error is a terminal.\n"
        "  -h, --help     Show this help.\n")
        .arg(SettingsStore::defaultPath());
}

QString selectionHelp()
{
    return QCoreApplication::translate("NotesCommandLine",
        "Options of list, search and export:\n"
        "  --from DATE        Only notes of DATE (YYYY-MM-DD) or later.\n"
        "  --to DATE          Only notes of DATE or earlier.\n"
        "  --month YYYY-MM    Only notes of that month.\n"
        "                     With any of these, notes without a date are left out.\n"
        "  -o, --output FILE  Write to FILE instead of standard output. FILE appears\n"
        "                     complete or not at all, and only when the command\n"
        "                     succeeds (exit code 0); otherwise it keeps its former\n"
        "                     content. A device or FIFO is written to, not replaced.\n");
}

} // namespace Options
