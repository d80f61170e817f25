// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include "notes/NoteKey.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <QDeadlineTimer>

#include <fcntl.h>
#include <pty.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

NotesFixture::NotesFixture()
{
    QDir(m_folder.path()).mkpath(QStringLiteral("data"));
}

NotesFixture::~NotesFixture() = default;

QString NotesFixture::storePath() const
{
    return m_folder.filePath(QStringLiteral("data/Quillmere/settings.sqlite3"));
}

QString NotesFixture::path(const QString &name) const
{
    return m_folder.filePath(name);
}

void NotesFixture::putNote(const QString &month, const QString &year, int cell, const QString &text,
                           const QString &color)
{
    put(NoteKey::text(month, year, cell), text);
    put(NoteKey::color(month, year, cell), color);
}

void NotesFixture::putNotes(const QString &month, const QString &year, const QStringList &texts)
{
    for (int cell = 0; cell < texts.size(); ++cell)
        putNote(month, year, cell, texts.at(cell));
}

void NotesFixture::put(const QString &key, const QString &value)
{
    if (!m_store)
        m_store = std::make_unique<SettingsStore>(storePath());
    m_store->save(Settings::Application, Settings::Section, key, value);
}

void NotesFixture::closeStore()
{
    m_store.reset();
}

namespace {

// A pseudo-terminal for a child's standard error, with output passed on as
// written (no "\n" made "\r\n").
struct Terminal
{
    int controller = -1;
    int child = -1;

    Terminal()
    {
        termios raw{};
        cfmakeraw(&raw);
        if (::openpty(&controller, &child, nullptr, &raw, nullptr) == 0)
            ::fcntl(controller, F_SETFL, O_NONBLOCK);
    }
    ~Terminal()
    {
        closeChildSide();
        if (controller >= 0)
            ::close(controller);
    }
    void closeChildSide()
    {
        if (child >= 0)
            ::close(child);
        child = -1;
    }
    void readInto(QByteArray *bytes) const
    {
        char buffer[4096];
        for (ssize_t got; (got = ::read(controller, buffer, sizeof buffer)) > 0;)
            bytes->append(buffer, got);
    }
};

} // namespace

NotesFixture::Result NotesFixture::run(const QStringList &arguments, const QProcessEnvironment &extra,
                                       const NotesStreams &streams) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_folder.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("HOME"), m_folder.path());
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.remove(QStringLiteral("LANGUAGE"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &name : extra.keys())
        environment.insert(name, extra.value(name));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder.path());
    if (!streams.outputFile.isEmpty())
        process.setStandardOutputFile(streams.outputFile);
    Terminal terminal;
    if (streams.errorToTerminal) {
        const int child = terminal.child;
        process.setChildProcessModifier([child] { ::dup2(child, STDERR_FILENO); });
    }
    process.start(QStringLiteral(TAVORIN_NOTES_PROGRAM), arguments);
    terminal.closeChildSide();
    Result result;
    QByteArray onTerminal;
    QDeadlineTimer deadline(60000);
    while (streams.errorToTerminal && !deadline.hasExpired() && !process.waitForFinished(20))
        terminal.readInto(&onTerminal);
    terminal.readInto(&onTerminal);
    const bool finished = process.state() == QProcess::NotRunning || process.waitForFinished(int(deadline.remainingTime()));
    if (!finished || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = streams.errorToTerminal ? onTerminal : process.readAllStandardError();
    return result;
}

QMap<QString, QString> NotesFixture::contents(const QString &storePath)
{
    QMap<QString, QString> values;
    try {
        const Sqlite::Database db(QFile::encodeName(storePath), SQLITE_OPEN_READONLY);
        Sqlite::Statement select(db, "SELECT key, value FROM settings WHERE application = 'Quillmere' "
                                     "AND section = 'Tavorin Planner'", QStringLiteral("Cannot read"));
        while (select.step(QStringLiteral("Cannot read")))
            values.insert(select.text(0), select.text(1));
    } catch (const Failure &) {
        // A store that cannot be read shows what was read of it: nothing, or the rows before the failure.
    }
    return values;
}

QByteArray NotesFixture::fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int NotesFixture::modeOf(const QString &path)
{
    struct stat info{};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}
