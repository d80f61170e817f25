// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NotesCommandLine.h"

#include "notes/ExportFormat.h"
#include "notes/NoteCatalogue.h"
#include "notes/NoteImport.h"
#include "settings/StoreBackup.h"
#include "settings/StoreRestore.h"
#include "cli/SyncCommandLine.h"
#include "platform/Failure.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <unistd.h>

namespace {

const QString Program = QStringLiteral("tavorin-notes");

// Work of more than this many notes or pages reports its progress.
constexpr qint64 LongWork = 2000;

QCommandLineOption storeOption()
{
    return QCommandLineOption(QStringLiteral("store"), QStringLiteral("store"), QStringLiteral("PATH"));
}

QCommandLineOption formatOption()
{
    return QCommandLineOption(QStringLiteral("format"), QStringLiteral("format"), QStringLiteral("FORMAT"),
                              QStringLiteral("markdown"));
}

QCommandLineOption forceOption()
{
    return QCommandLineOption(QStringLiteral("force"), QStringLiteral("force"));
}

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help"));
}

QCommandLineOption quietOption()
{
    return QCommandLineOption({QStringLiteral("q"), QStringLiteral("quiet")}, QStringLiteral("quiet"));
}

// The options that choose which notes list, search and export take, and where they go.
QList<QCommandLineOption> selectionOptions()
{
    return {QCommandLineOption(QStringLiteral("from"), QStringLiteral("from"), QStringLiteral("DATE")),
            QCommandLineOption(QStringLiteral("to"), QStringLiteral("to"), QStringLiteral("DATE")),
            QCommandLineOption(QStringLiteral("month"), QStringLiteral("month"), QStringLiteral("YYYY-MM")),
            QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("output"),
                               QStringLiteral("FILE"))};
}

// A date given as YYYY-MM-DD, or YYYY-MM for format "yyyy-MM"; invalid for anything else.
QDate dateOf(const QString &text, const QString &format)
{
    return text.size() == format.size() ? QDate::fromString(text, format) : QDate();
}

// A note's text on one line: "\" written "\\", tab "\t", line break "\n",
// carriage return "\r" and any other control character "\xHH", so that
// nothing in a note can move a terminal's cursor or change its colours.
QString escapedForLine(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': result += QStringLiteral("\\\\"); break;
        case u'\t': result += QStringLiteral("\\t"); break;
        case u'\n': result += QStringLiteral("\\n"); break;
        case u'\r': result += QStringLiteral("\\r"); break;
        default:
            if (c.category() == QChar::Other_Control)
                result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
            else
                result += c;
        }
    }
    return result;
}

// One line per note, tab-separated: date (or "-"), month, year, day, text;
// month and year as the key holds them, which may be anything typed.
QByteArray listLine(const Note &note)
{
    const QString date = note.date().isValid() ? note.date().toString(Qt::ISODate) : QStringLiteral("-");
    // Lines of a note written on another system end in CR LF: shown as one line break.
    const QString text = QString(note.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return QStringList{date, escapedForLine(note.parts.monthText), escapedForLine(note.parts.yearText),
                       QString::number(note.parts.day), escapedForLine(text)}
               .join(u'\t')
               .toUtf8()
           + '\n';
}

const char OptionsHelp[] = QT_TRANSLATE_NOOP("NotesCommandLine",
    "Options:\n"
    "  --store PATH   Use the store at PATH instead of the planner's:\n"
    "                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, here\n"
    "                 %1\n"
    "  -q, --quiet    Show no progress and no notes about skipped entries, only\n"
    "                 errors. Progress shows only when standard error is a terminal.\n"
    "  -h, --help     Show this help.\n");

const char SelectionHelp[] = QT_TRANSLATE_NOOP("NotesCommandLine",
    "Options of list, search and export:\n"
    "  --from DATE        Only notes of DATE (YYYY-MM-DD) or later.\n"
    "  --to DATE          Only notes of DATE or earlier.\n"
    "  --month YYYY-MM    Only notes of that month.\n"
    "                     With any of these, notes without a date are left out.\n"
    "  -o, --output FILE  Write to FILE instead of standard output. FILE appears\n"
    "                     complete or not at all, and only when the command\n"
    "                     succeeds (exit code 0); otherwise it keeps its former\n"
    "                     content. A device or FIFO is written to, not replaced.\n");

const char ExitCodesHelp[] = QT_TRANSLATE_NOOP("NotesCommandLine",
    "Exit codes:\n"
    "  0  success\n"
    "  1  search found no note, or export --format ics no note with a date\n"
    "  2  usage error: unknown command or option, missing or extra argument\n"
    "  3  store or file error: the store or FILE is missing, unreadable, not a\n"
    "     notes store or damaged, or the output cannot be written\n"
    "  4  sync: network error, the server cannot be reached\n"
    "  5  sync: the server refused the login\n"
    "  6  sync: server error, the server failed or answered what it should not\n");

} // namespace

struct NotesCommandLine::Command
{
    QString name;
    QString arguments;
    int argumentCount;
    bool takesSelection; // --from, --to, --month and --output
    QString summary;
    QString details;
};

const QList<NotesCommandLine::Command> &NotesCommandLine::commands()
{
    static const QList<Command> table{
        {QStringLiteral("list"), QString(), 0, true, tr("List every note with its date, month, year and day."),
         tr("Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or \"-\"\n"
                        "when the month and year name none), the month and the year as the planner showed them,\n"
                        "the day, and the text, with \\ written \\\\, tab \\t, line break \\n, carriage return \\r\n"
                        "and any other control character \\xHH. Dated notes come first, in date order; then the\n"
                        "others, by month and year, in day order.\n")},
        {QStringLiteral("search"), QStringLiteral("TEXT"), 1, true,
         tr("List the notes that contain TEXT, ignoring case."),
         tr("Lists, as \"list\" does, the notes whose text contains TEXT, ignoring case.\n"
                        "Exits with 1 when no note contains it. Put -- before a TEXT that starts with -.\n")},
        {QStringLiteral("export"), QStringLiteral("[--format FORMAT]"), 0, true,
         tr("Write every note as Markdown, JSON or iCalendar."),
         tr("Writes every note to standard output in FORMAT: markdown (the default), json, or ics,\n"
                        "an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes\n"
                        "whose month and year name no date are left out of iCalendar files, each with a\n"
                        "message; when no note has a date, nothing is written and the exit code is 1.\n")},
        {QStringLiteral("backup"), QStringLiteral("FILE"), 1, false,
         tr("Copy the store to FILE, also while the planner runs."),
         tr("Copies the store to FILE, which only you can read (mode 0600); an existing FILE is\n"
                        "replaced as a whole, by renaming a complete copy over it. The copy is consistent\n"
                        "even while the planner writes. FILE must be a regular file or a new name: \"-\",\n"
                        "devices, pipes, folders, and the store, its -wal, -shm and -journal files and its\n"
                        "copies are refused.\n")},
        {QStringLiteral("restore"), QStringLiteral("FILE"), 1, false,
         tr("Replace the store's content with the copy in FILE."),
         tr("Replaces the content of the store with that of FILE, a backup or a safety copy. FILE\n"
                        "must be a sound notes store holding nothing the planner does not make, or nothing\n"
                        "is changed. The current store is first kept next to it as\n"
                        "<store>.before-restore-YYYYMMDD-HHMMSS (the newest seven are kept).\n"
                        "Refused unless --force is given: while a planner has the store open, and when FILE\n"
                        "holds no note or fewer than half as many as the store.\n")},
        {QStringLiteral("import"), QStringLiteral("[--dry-run] FILE"), 1, false,
         tr("Bring in the notes of an iCalendar file or a JSON export."),
         tr("Reads FILE, an iCalendar file of journal entries (VJOURNAL) or a JSON export of\n"
                        "\"export --format json\", and makes each entry the note of its day. A day that\n"
                        "already has a note gets the entry's text added below it, never put in its\n"
                        "place; a text already in the note is not added again, so importing the same\n"
                        "file twice changes nothing. The import is one transaction: when it fails,\n"
                        "nothing is changed. --dry-run lists what would change.\n")},
        {QStringLiteral("sync"), QStringLiteral("[setup URL --user NAME | --dry-run | --status]"), 0, false,
         tr("Sync the notes with a CalDAV server, both ways."), QString()},
    };
    return table;
}

QString NotesCommandLine::exitCodesHelp()
{
    return tr(ExitCodesHelp);
}

int NotesCommandLine::run(const QStringList &arguments)
{
    const int code = runArguments(arguments);
    if (code != Ok)
        m_output.discard();
    try {
        m_output.finish();
    } catch (const Failure &failure) {
        message(failure.description());
        return code == Ok || code == NothingFound ? StoreError : code;
    }
    return code;
}

int NotesCommandLine::runArguments(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOption(storeOption());
    parser.addOption(quietOption());
    parser.addOption(helpOption());
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("version"));
    parser.addOption(version);
    if (!parser.parse(arguments))
        return usageError(parser.errorText(), QString());
    if (parser.isSet(QStringLiteral("help"))) {
        write(programHelp().toUtf8());
        return Ok;
    }
    if (parser.isSet(version)) {
        write((Program + u' ' + QCoreApplication::applicationVersion() + u'\n').toUtf8());
        return Ok;
    }
    m_storePath = parser.value(QStringLiteral("store"));
    if (parser.isSet(QStringLiteral("store")) && m_storePath.isEmpty())
        return usageError(tr("--store must not be empty."), QString());
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return usageError(tr("No command given."), QString());
    for (const Command &command : commands()) {
        if (command.name != rest.first())
            continue;
        const QStringList commandArguments = QStringList{arguments.value(0, Program)} + rest.mid(1);
        if (command.name == QLatin1String("sync")) {
            const QString store = m_storePath.isEmpty() ? SettingsStore::defaultPath() : m_storePath;
            return SyncCommandLine(m_out, m_err).run(commandArguments, store, parser.isSet(QStringLiteral("quiet")));
        }
        return runCommand(command, commandArguments);
    }
    return usageError(tr("Unknown command \"%1\".").arg(rest.first()), QString());
}

int NotesCommandLine::runCommand(const Command &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOption(storeOption());
    parser.addOption(quietOption());
    parser.addOption(helpOption());
    if (command.name == QLatin1String("export"))
        parser.addOption(formatOption());
    if (command.name == QLatin1String("restore"))
        parser.addOption(forceOption());
    if (command.takesSelection)
        parser.addOptions(selectionOptions());
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), QStringLiteral("dry-run"));
    if (command.name == QLatin1String("import"))
        parser.addOption(dryRun);
    if (!parser.parse(arguments))
        return usageError(parser.errorText(), command.name);
    if (parser.isSet(QStringLiteral("help"))) {
        write(commandHelp(command).toUtf8());
        return Ok;
    }
    if (parser.isSet(QStringLiteral("store"))) {
        m_storePath = parser.value(QStringLiteral("store"));
        if (m_storePath.isEmpty())
            return usageError(tr("--store must not be empty."), command.name);
    }
    m_quiet = m_quiet || parser.isSet(QStringLiteral("quiet"));
    if (m_storePath.isEmpty())
        m_storePath = SettingsStore::defaultPath();

    const QStringList values = parser.positionalArguments();
    if (values.size() < command.argumentCount)
        return usageError(tr("\"%1\" needs %2.").arg(command.name, command.arguments), command.name);
    if (values.size() > command.argumentCount)
        return usageError(tr("Unexpected argument \"%1\".").arg(values.at(command.argumentCount)),
                          command.name);
    const QString value = values.value(0);
    if (command.argumentCount > 0 && value.isEmpty())
        return usageError(tr("%1 must not be empty.").arg(command.arguments), command.name);
    if (command.takesSelection) {
        if (const QString error = readSelection(parser); !error.isEmpty())
            return usageError(error, command.name);
    }

    try {
        if (command.takesSelection && parser.isSet(QStringLiteral("output")))
            m_output.redirectTo(parser.value(QStringLiteral("output")));
        if (command.name == QLatin1String("list"))
            return list();
        if (command.name == QLatin1String("search"))
            return search(value);
        if (command.name == QLatin1String("export")) {
            const QString format = parser.value(QStringLiteral("format"));
            if (!ExportFormat::names().contains(format))
                return usageError(tr("Unknown format \"%1\".").arg(format), command.name);
            return exportNotes(format);
        }
        if (command.name == QLatin1String("backup"))
            return backup(value);
        if (command.name == QLatin1String("import"))
            return importNotes(value, parser.isSet(dryRun));
        return restore(value, parser.isSet(QStringLiteral("force")));
    } catch (const Failure &failure) {
        message(failure.description());
    } catch (const std::exception &failure) {
        message(QString::fromLocal8Bit(failure.what()));
    }
    return StoreError;
}

// Takes --from, --to and --month; the text of a usage error, or nothing.
QString NotesCommandLine::readSelection(const QCommandLineParser &parser)
{
    for (const QString &name : {QStringLiteral("from"), QStringLiteral("to")}) {
        if (!parser.isSet(name))
            continue;
        const QDate date = dateOf(parser.value(name), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            return tr("--%1 needs a date as YYYY-MM-DD, not \"%2\".").arg(name, parser.value(name));
        (name == QLatin1String("from") ? m_from : m_to) = date;
    }
    if (parser.isSet(QStringLiteral("month"))) {
        if (m_from.isValid() || m_to.isValid())
            return tr("--month cannot be combined with --from or --to.");
        m_from = dateOf(parser.value(QStringLiteral("month")), QStringLiteral("yyyy-MM"));
        if (!m_from.isValid())
            return tr("--month needs a month as YYYY-MM, not \"%1\".").arg(parser.value(QStringLiteral("month")));
        m_to = m_from.addMonths(1).addDays(-1);
    }
    if (m_from.isValid() && m_to.isValid() && m_from > m_to)
        return tr("--from %1 is after --to %2.").arg(m_from.toString(Qt::ISODate), m_to.toString(Qt::ISODate));
    return QString();
}

int NotesCommandLine::list()
{
    printNotes(readNotes());
    return Ok;
}

int NotesCommandLine::search(const QString &text)
{
    // Composed and decomposed forms of the same letters match each other.
    const QString wanted = text.normalized(QString::NormalizationForm_C);
    QList<Note> found;
    for (const Note &note : readNotes()) {
        if (note.text.normalized(QString::NormalizationForm_C).contains(wanted, Qt::CaseInsensitive))
            found.append(note);
    }
    printNotes(found);
    return found.isEmpty() ? NothingFound : Ok;
}

int NotesCommandLine::exportNotes(const QString &formatName)
{
    const auto format = ExportFormat::create(formatName, QDateTime::currentDateTimeUtc());
    const QList<Note> notes = readNotes();
    // A calendar must hold at least one entry, and a job that exports nothing should not pass.
    if (formatName == QLatin1String("ics")
        && std::none_of(notes.begin(), notes.end(), [](const Note &note) { return note.date().isValid(); })) {
        message(notes.isEmpty() ? tr("No note to export: an iCalendar file needs at least one.")
                                : tr("None of the %1 notes has a date: an iCalendar file needs at least one.")
                                      .arg(notes.size()));
        return NothingFound;
    }
    write(format->begin());
    for (qsizetype i = 0; i < notes.size(); ++i) {
        write(format->note(notes.at(i)));
        reportProgress(tr("exported notes"), i + 1, notes.size());
    }
    write(format->end());
    for (const QString &warning : format->warnings()) {
        if (!m_quiet)
            message(warning);
    }
    return Ok;
}

int NotesCommandLine::importNotes(const QString &file, bool dryRun)
{
    const NoteImport::Entries entries = NoteImport::readFile(file);
    for (const QString &skipped : entries.skipped) {
        if (!m_quiet)
            message(skipped);
    }
    const QList<NoteImport::Change> changes = NoteImport::apply(m_storePath, entries.notes, dryRun);
    int added = 0;
    for (const NoteImport::Change &change : changes) {
        added += change.added;
        if (dryRun)
            write((change.added ? tr("would add below %1\n") : tr("would make %1\n")).arg(change.note.key).toUtf8());
    }
    const qsizetype total = entries.notes.size();
    message((dryRun ? tr("would import %1 entries: %2 new notes, %3 added below a note, %4 already there.")
                    : tr("imported %1 entries: %2 new notes, %3 added below a note, %4 already there."))
                .arg(total).arg(changes.size() - added).arg(added).arg(total - changes.size()));
    return Ok;
}

int NotesCommandLine::backup(const QString &file)
{
    StoreBackup::backup(m_storePath, file,
                        [this](int copied, int total) { reportProgress(tr("copied pages"), copied, total); });
    return Ok;
}

int NotesCommandLine::restore(const QString &file, bool force)
{
    const QString kept = StoreRestore::restore(file, m_storePath, QDateTime::currentDateTime(), force, [this](int copied, int total) {
        reportProgress(tr("restored pages"), copied, total);
    });
    if (m_quiet)
        return Ok;
    message(kept.isEmpty() ? tr("Restored the notes store %1 from %2.").arg(m_storePath, file)
                           : tr("Restored the notes store %1 from %2; the former store is kept as %3.")
                                 .arg(m_storePath, file, kept));
    return Ok;
}

QList<Note> NotesCommandLine::readNotes()
{
    StoreFile store(m_storePath, StoreFile::Access::ReadOnly);
    store.checkTable();
    QList<Note> notes = NoteCatalogue::read(store);
    if (m_from.isValid() || m_to.isValid()) {
        notes.removeIf([this](const Note &note) {
            return !note.date().isValid() || (m_from.isValid() && note.date() < m_from) || (m_to.isValid() && note.date() > m_to);
        });
    }
    return notes;
}

void NotesCommandLine::printNotes(const QList<Note> &notes)
{
    for (const Note &note : notes)
        write(listLine(note));
}

// Only for a person watching: a log or a pipe gets no progress lines.
void NotesCommandLine::reportProgress(const QString &what, qint64 done, qint64 total)
{
    if (m_quiet || total <= LongWork || !::isatty(fileno(m_err)))
        return;
    const int percent = int(done * 100 / total);
    if (percent / 10 == m_lastPercent / 10 && done != total)
        return;
    m_lastPercent = percent;
    message(tr("%1: %2 of %3 (%4%)").arg(what).arg(done).arg(total).arg(percent));
}

QString NotesCommandLine::programHelp() const
{
    QString help = tr("Usage: %1 [--store PATH] COMMAND [ARGUMENTS]\n"
                                  "       %1 COMMAND --help\n\n"
                                  "Reads the day notes of Tavorin Planner, exports and imports them, syncs them\n"
                                  "with a CalDAV server, and backs the notes store up or restores it.\n\nCommands:\n")
                       .arg(Program);
    for (const Command &command : commands())
        // A space always follows the arguments, also those wider than the column.
        help += QStringLiteral("  %1 %2\n").arg((command.name + u' ' + command.arguments).leftJustified(25), command.summary);
    help += u'\n' + tr(OptionsHelp).arg(SettingsStore::defaultPath())
            + tr("  --version      Show the version.\n\n") + tr(ExitCodesHelp)
            + tr("\nlist, search and export also take --from, --to, --month and -o FILE; see\n"
                             "\"%1 list --help\".\n").arg(Program)
            + tr("\nNotes go to standard output or FILE; messages and progress to standard error.\n"
                             "The store is only ever written by \"restore\", \"import\" and \"sync\".\n");
    return help;
}

QString NotesCommandLine::commandHelp(const Command &command) const
{
    const QString usage = (command.name + u' ' + command.arguments).trimmed();
    return tr("Usage: %1 [--store PATH] %2\n\n%3\n").arg(Program, usage, command.details)
           + tr(OptionsHelp).arg(SettingsStore::defaultPath()) + u'\n'
           + (command.takesSelection ? tr(SelectionHelp) + u'\n' : QString())
           + tr(ExitCodesHelp);
}

int NotesCommandLine::usageError(const QString &text, const QString &commandName)
{
    message(text);
    message(tr("Try \"%1%2 --help\".").arg(Program, commandName.isEmpty() ? QString() : u' ' + commandName));
    return UsageError;
}

void NotesCommandLine::write(const QByteArray &bytes)
{
    m_output.write(bytes);
}

void NotesCommandLine::message(const QString &text)
{
    std::fprintf(m_err, "%s: %s\n", qPrintable(Program), text.toLocal8Bit().constData());
    std::fflush(m_err);
}
