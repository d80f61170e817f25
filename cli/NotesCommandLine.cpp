// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NotesCommandLine.h"

#include "cli/BackupCommand.h"
#include "cli/Command.h"
#include "cli/ExitCode.h"
#include "cli/ExportCommand.h"
#include "cli/ImportCommand.h"
#include "cli/ListCommand.h"
#include "cli/MoveLanguageCommand.h"
#include "cli/Options.h"
#include "cli/RestoreCommand.h"
#include "cli/SearchCommand.h"
#include "cli/SyncCommand.h"
#include "cli/SyncSetupCommand.h"
#include "platform/Failure.h"
#include "settings/SettingsStore.h"

#include <QCommandLineParser>

#include <memory>
#include <vector>

namespace {

// In the order of the program's help.
const std::vector<std::unique_ptr<const Command>> &commands()
{
    static const auto table = [] {
        std::vector<std::unique_ptr<const Command>> made;
        made.push_back(std::make_unique<ListCommand>());
        made.push_back(std::make_unique<SearchCommand>());
        made.push_back(std::make_unique<ExportCommand>());
        made.push_back(std::make_unique<BackupCommand>());
        made.push_back(std::make_unique<RestoreCommand>());
        made.push_back(std::make_unique<ImportCommand>());
        made.push_back(std::make_unique<MoveLanguageCommand>());
        made.push_back(std::make_unique<SyncCommand>());
        made.push_back(std::make_unique<SyncSetupCommand>());
        return made;
    }();
    return table;
}

const Command *commandNamed(const QString &name)
{
    for (const auto &command : commands()) {
        if (command->name() == name)
            return command.get();
    }
    return nullptr;
}

} // namespace

int NotesCommandLine::run(const QStringList &arguments)
{
    const int code = runArguments(arguments);
    if (code != ExitCode::Ok)
        m_console.output().discard();
    try {
        m_console.output().finish();
    } catch (const Failure &failure) {
        m_console.message(failure.description());
        return code == ExitCode::Ok || code == ExitCode::NothingFound ? ExitCode::StoreError : code;
    }
    return code;
}

int NotesCommandLine::runArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions(Options::common());
    parser.addOption(Options::version());
    if (!parser.parse(arguments))
        return m_console.usageError(parser.errorText(), QString());
    if (parser.isSet(Options::help())) {
        m_console.write(programHelp());
        return ExitCode::Ok;
    }
    if (parser.isSet(Options::version())) {
        m_console.write(NotesProgram + u' ' + QCoreApplication::applicationVersion() + u'\n');
        return ExitCode::Ok;
    }
    const QString storePath = parser.value(Options::store());
    if (parser.isSet(Options::store()) && storePath.isEmpty())
        return m_console.usageError(tr("--store must not be empty."), QString());
    m_console.setQuiet(parser.isSet(Options::quiet()));
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return m_console.usageError(tr("No command given."), QString());
    const Command *command = commandNamed(rest.first());
    if (!command)
        return m_console.usageError(tr("Unknown command \"%1\".").arg(rest.first()), QString());
    return runCommand(*command, QStringList{arguments.value(0, NotesProgram)} + rest.mid(1), storePath);
}

// Parses the options of the command named, chooses the command of two words
// that the first argument may make of it, and runs that one.
int NotesCommandLine::runCommand(const Command &named, const QStringList &arguments, QString storePath)
{
    QCommandLineParser parser;
    parser.addOptions(Options::common() + named.options());
    const bool parsed = parser.parse(arguments);
    QStringList values = parser.positionalArguments();
    const Command *command = &named;
    if (const Command *longer = values.isEmpty() ? nullptr : commandNamed(named.name() + u' ' + values.first())) {
        command = longer;
        values.removeFirst();
    }
    if (!parsed)
        return command->usageError(m_console, parser.errorText());
    if (parser.isSet(Options::help())) {
        m_console.write(command->help());
        return ExitCode::Ok;
    }
    if (parser.isSet(Options::store())) {
        storePath = parser.value(Options::store());
        if (storePath.isEmpty())
            return command->usageError(m_console, tr("--store must not be empty."));
    }
    if (parser.isSet(Options::quiet()))
        m_console.setQuiet(true);
    if (storePath.isEmpty())
        storePath = SettingsStore::defaultPath();

    try {
        return command->run({parser, values, storePath, m_console});
    } catch (const Failure &failure) {
        m_console.message(failure.description());
    } catch (const std::exception &failure) {
        m_console.message(QString::fromLocal8Bit(failure.what()));
    }
    return ExitCode::StoreError;
}

QString NotesCommandLine::programHelp() const
{
    QString help = tr("Usage: %1 [--store PATH] COMMAND [ARGUMENTS]\n"
                                  "       %1 COMMAND --help\n\n"
                                  "Reads the day notes of Tavorin Planner, exports and imports them, syncs them\n"
                                  "with a CalDAV server, and backs the notes store up or restores it.\n\nCommands:\n")
                       .arg(NotesProgram);
    for (const auto &command : commands()) {
        if (command->summary().isEmpty())
            continue; // described in the line of the command of its first word
        // A space always follows the arguments, also those wider than the column.
        help += QStringLiteral("  %1 %2\n").arg((command->name() + u' ' + command->arguments()).leftJustified(25), command->summary());
    }
    help += u'\n' + Options::commonHelp() + tr("  --version      Show the version.\n\n") + ExitCode::help()
            + tr("\nlist, search and export also take --from, --to, --month and -o FILE; see\n"
                             "\"%1 list --help\".\n").arg(NotesProgram)
            + tr("\nNotes go to standard output or FILE; messages and progress to standard error.\n"
                             "The store is only ever written by \"restore\", \"import\" and \"sync\".\n");
    return help;
}
