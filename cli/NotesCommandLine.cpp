#include "cli/NotesCommandLine.h"

#include "cli/ExportFormat.h"
#include "cli/NoteCatalogue.h"
#include "cli/NoteImport.h"
#include "cli/StoreRestore.h"
#include "cli/SyncCommandLine.h"
#include "platform/Failure.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

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

QCommandLineOption helpOption()
{
    return QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("help"));
}

// One line per note, tab-separated: date (or "-"), month, year, day, text;
// the text with "\" written "\\", tab "\t" and line break "\n".
QByteArray listLine(const Note &note)
{
    QString text = note.text;
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\t', QStringLiteral("\\t")).replace(u'\n', QStringLiteral("\\n"));
    const QString date = note.date.isValid() ? note.date.toString(Qt::ISODate) : QStringLiteral("-");
    return QStringList{date, note.monthText, note.yearText, QString::number(note.day), text}.join(u'\t').toUtf8() + '\n';
}

const char OptionsHelp[] =
    "Options:\n"
    "  --store PATH   Use the store at PATH instead of the planner's:\n"
    "                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, here\n"
    "                 %1\n"
    "  -h, --help     Show this help.\n";

const char ExitCodesHelp[] =
    "Exit codes:\n"
    "  0  success\n"
    "  1  search found no note\n"
    "  2  usage error: unknown command or option, missing or extra argument\n"
    "  3  store or file error: the store or FILE is missing, unreadable, not a\n"
    "     notes store or damaged, or the output cannot be written\n"
    "  4  sync: network error, the server cannot be reached\n"
    "  5  sync: the server refused the login\n"
    "  6  sync: server error, the server failed or answered what it should not\n";

} // namespace

struct NotesCommandLine::Command
{
    QString name;
    QString arguments;
    int argumentCount;
    QString summary;
    QString details;
};

const QList<NotesCommandLine::Command> &NotesCommandLine::commands()
{
    static const QList<Command> table{
        {QStringLiteral("list"), QString(), 0, QStringLiteral("List every note with its date, month, year and day."),
         QStringLiteral("Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or \"-\"\n"
                        "when the month and year name none), the month and the year as the planner showed them,\n"
                        "the day, and the text, with \\ written \\\\, tab \\t and line break \\n. Dated notes come\n"
                        "first, in date order; then the others, by key.\n")},
        {QStringLiteral("search"), QStringLiteral("TEXT"), 1,
         QStringLiteral("List the notes that contain TEXT, ignoring case."),
         QStringLiteral("Lists, as \"list\" does, the notes whose text contains TEXT, ignoring case.\n"
                        "Exits with 1 when no note contains it. Put -- before a TEXT that starts with -.\n")},
        {QStringLiteral("export"), QStringLiteral("[--format FORMAT]"), 0,
         QStringLiteral("Write every note as Markdown, JSON or iCalendar."),
         QStringLiteral("Writes every note to standard output in FORMAT: markdown (the default), json, or ics,\n"
                        "an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes\n"
                        "whose month and year name no date are left out of iCalendar files, each with a\n"
                        "message.\n")},
        {QStringLiteral("backup"), QStringLiteral("FILE"), 1,
         QStringLiteral("Copy the store to FILE, also while the planner runs."),
         QStringLiteral("Copies the store to FILE, which only you can read (mode 0600); an existing FILE is\n"
                        "replaced. The copy is consistent even while the planner writes.\n")},
        {QStringLiteral("restore"), QStringLiteral("FILE"), 1,
         QStringLiteral("Replace the store's content with the copy in FILE."),
         QStringLiteral("Replaces the content of the store with that of FILE, a backup or a safety copy. FILE\n"
                        "must be a sound notes store, or nothing is changed. The current store is first\n"
                        "kept next to it as <store>.before-restore-YYYYMMDD-HHMMSS. A running planner\n"
                        "shows the restored notes when it next reads them.\n")},
        {QStringLiteral("import"), QStringLiteral("[--dry-run] FILE"), 1,
         QStringLiteral("Bring in the notes of an iCalendar file or a JSON export."),
         QStringLiteral("Reads FILE, an iCalendar file of journal entries (VJOURNAL) or a JSON export of\n"
                        "\"export --format json\", and makes each entry the note of its day. A day that\n"
                        "already has a note gets the entry's text added below it, never put in its\n"
                        "place; a text already in the note is not added again, so importing the same\n"
                        "file twice changes nothing. The import is one transaction: when it fails,\n"
                        "nothing is changed. --dry-run lists what would change.\n")},
        {QStringLiteral("sync"), QStringLiteral("[setup URL --user NAME | --dry-run | --status]"), 0,
         QStringLiteral("Sync the notes with a CalDAV server, both ways."), QString()},
    };
    return table;
}

QString NotesCommandLine::exitCodesHelp()
{
    return QString::fromLatin1(ExitCodesHelp);
}

int NotesCommandLine::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOption(storeOption());
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
    const QStringList rest = parser.positionalArguments();
    if (rest.isEmpty())
        return usageError(QStringLiteral("No command given."), QString());
    for (const Command &command : commands()) {
        if (command.name == rest.first() && command.name == QLatin1String("sync")) {
            const QString store = m_storePath.isEmpty() ? SettingsStore::defaultPath() : m_storePath;
            return SyncCommandLine(m_out, m_err).run(QStringList{arguments.value(0, Program)} + rest.mid(1), store);
        }
        if (command.name == rest.first())
            return runCommand(command, QStringList{arguments.value(0, Program)} + rest.mid(1));
    }
    return usageError(QStringLiteral("Unknown command \"%1\".").arg(rest.first()), QString());
}

int NotesCommandLine::runCommand(const Command &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOption(storeOption());
    parser.addOption(helpOption());
    if (command.name == QLatin1String("export"))
        parser.addOption(formatOption());
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), QStringLiteral("dry-run"));
    if (command.name == QLatin1String("import"))
        parser.addOption(dryRun);
    if (!parser.parse(arguments))
        return usageError(parser.errorText(), command.name);
    if (parser.isSet(QStringLiteral("help"))) {
        write(commandHelp(command).toUtf8());
        return Ok;
    }
    if (parser.isSet(QStringLiteral("store")))
        m_storePath = parser.value(QStringLiteral("store"));
    if (m_storePath.isEmpty())
        m_storePath = SettingsStore::defaultPath();

    const QStringList values = parser.positionalArguments();
    if (values.size() < command.argumentCount)
        return usageError(QStringLiteral("\"%1\" needs %2.").arg(command.name, command.arguments), command.name);
    if (values.size() > command.argumentCount)
        return usageError(QStringLiteral("Unexpected argument \"%1\".").arg(values.at(command.argumentCount)),
                          command.name);
    const QString value = values.value(0);
    if (command.argumentCount > 0 && value.isEmpty())
        return usageError(QStringLiteral("%1 must not be empty.").arg(command.arguments), command.name);

    try {
        if (command.name == QLatin1String("list"))
            return list();
        if (command.name == QLatin1String("search"))
            return search(value);
        if (command.name == QLatin1String("export")) {
            const QString format = parser.value(QStringLiteral("format"));
            if (!ExportFormat::names().contains(format))
                return usageError(QStringLiteral("Unknown format \"%1\".").arg(format), command.name);
            return exportNotes(format);
        }
        if (command.name == QLatin1String("backup"))
            return backup(value);
        if (command.name == QLatin1String("import"))
            return importNotes(value, parser.isSet(dryRun));
        return restore(value);
    } catch (const Failure &failure) {
        message(failure.description());
    } catch (const std::exception &failure) {
        message(QString::fromLocal8Bit(failure.what()));
    }
    return StoreError;
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
    write(format->begin());
    for (qsizetype i = 0; i < notes.size(); ++i) {
        write(format->note(notes.at(i)));
        reportProgress(QStringLiteral("exported notes"), i + 1, notes.size());
    }
    write(format->end());
    for (const QString &warning : format->warnings())
        message(warning);
    return Ok;
}

int NotesCommandLine::importNotes(const QString &file, bool dryRun)
{
    const QList<JournalNote> entries = NoteImport::readFile(file);
    const QList<NoteImport::Change> changes = NoteImport::apply(m_storePath, entries, dryRun);
    int added = 0;
    for (const NoteImport::Change &change : changes) {
        added += change.added;
        if (dryRun)
            write(QStringLiteral("would %1 %2\n").arg(change.added ? QStringLiteral("add below") : QStringLiteral("make"), change.key).toUtf8());
    }
    message(QStringLiteral("%1 %2 entries: %3 new notes, %4 added below a note, %5 already there.")
                .arg(dryRun ? QStringLiteral("would import") : QStringLiteral("imported"))
                .arg(entries.size()).arg(changes.size() - added).arg(added).arg(entries.size() - changes.size()));
    return Ok;
}

int NotesCommandLine::backup(const QString &file)
{
    if (QFileInfo::exists(file) && QFileInfo(file).canonicalFilePath() == QFileInfo(m_storePath).canonicalFilePath())
        throw Failure(QStringLiteral("The file %1 is the notes store itself.").arg(file));
    StoreFile store(m_storePath, StoreFile::Access::ReadOnly);
    store.checkTable();
    store.copyToNewFile(file, [this](int copied, int total) { reportProgress(QStringLiteral("copied pages"), copied, total); });
    return Ok;
}

int NotesCommandLine::restore(const QString &file)
{
    const QString kept = StoreRestore::restore(file, m_storePath, QDateTime::currentDateTime(), [this](int copied, int total) {
        reportProgress(QStringLiteral("restored pages"), copied, total);
    });
    message(kept.isEmpty() ? QStringLiteral("Restored the notes store %1 from %2.").arg(m_storePath, file)
                           : QStringLiteral("Restored the notes store %1 from %2; the former store is kept as %3.")
                                 .arg(m_storePath, file, kept));
    return Ok;
}

QList<Note> NotesCommandLine::readNotes()
{
    StoreFile store(m_storePath, StoreFile::Access::ReadOnly);
    store.checkTable();
    return NoteCatalogue::read(store);
}

void NotesCommandLine::printNotes(const QList<Note> &notes)
{
    for (const Note &note : notes)
        write(listLine(note));
}

void NotesCommandLine::reportProgress(const QString &what, qint64 done, qint64 total)
{
    if (total <= LongWork)
        return;
    const int percent = int(done * 100 / total);
    if (percent / 10 == m_lastPercent / 10 && done != total)
        return;
    m_lastPercent = percent;
    message(QStringLiteral("%1: %2 of %3 (%4%)").arg(what).arg(done).arg(total).arg(percent));
}

QString NotesCommandLine::programHelp() const
{
    QString help = QStringLiteral("Usage: %1 [--store PATH] COMMAND [ARGUMENTS]\n"
                                  "       %1 COMMAND --help\n\n"
                                  "Reads the day notes of Tavorin Planner, exports and imports them, syncs them\n"
                                  "with a CalDAV server, and backs the notes store up or restores it.\n\nCommands:\n")
                       .arg(Program);
    for (const Command &command : commands())
        help += QStringLiteral("  %1%2\n").arg((command.name + u' ' + command.arguments).leftJustified(26), command.summary);
    help += u'\n' + QString::fromLatin1(OptionsHelp).arg(SettingsStore::defaultPath())
            + QStringLiteral("  --version      Show the version.\n\n") + QString::fromLatin1(ExitCodesHelp)
            + QStringLiteral("\nNotes go to standard output; messages and progress to standard error.\n"
                             "The store is only ever written by \"restore\", \"import\" and \"sync\".\n");
    return help;
}

QString NotesCommandLine::commandHelp(const Command &command) const
{
    const QString usage = (command.name + u' ' + command.arguments).trimmed();
    return QStringLiteral("Usage: %1 [--store PATH] %2\n\n%3\n").arg(Program, usage, command.details)
           + QString::fromLatin1(OptionsHelp).arg(SettingsStore::defaultPath()) + u'\n'
           + QString::fromLatin1(ExitCodesHelp);
}

int NotesCommandLine::usageError(const QString &text, const QString &commandName)
{
    message(text);
    message(QStringLiteral("Try \"%1%2 --help\".").arg(Program, commandName.isEmpty() ? QString() : u' ' + commandName));
    return UsageError;
}

// A failed write shows in the stream's error flag, which main() turns into the exit code.
void NotesCommandLine::write(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
}

void NotesCommandLine::message(const QString &text)
{
    std::fprintf(m_err, "%s: %s\n", qPrintable(Program), text.toLocal8Bit().constData());
    std::fflush(m_err);
}
