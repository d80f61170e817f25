#include "FaultKit.h"

#include "calendar/Controls.h"
#include "calendar/MonthPanel.h"
#include "settings/Settings.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FaultKit {

ino_t inodeOf(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

QByteArray foreignDatabase(const char *sql)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("other.db"));
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

// A read-only connection of its own that is always closed.
struct Connection
{
    explicit Connection(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            db = nullptr;
        } else {
            sqlite3_busy_timeout(db, 5000);
        }
    }
    ~Connection() { sqlite3_close(db); }
    sqlite3 *db = nullptr;
};

} // namespace

QString integrityOf(const QString &storePath)
{
    Connection connection(storePath);
    if (!connection.db)
        return QStringLiteral("cannot open %1").arg(storePath);
    sqlite3_stmt *statement = nullptr;
    QStringList found;
    if (sqlite3_prepare_v2(connection.db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK)
        found << QString::fromUtf8(sqlite3_errmsg(connection.db));
    int code;
    while (statement && (code = sqlite3_step(statement)) == SQLITE_ROW)
        found << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
    if (statement && code != SQLITE_DONE)
        found << QString::fromUtf8(sqlite3_errmsg(connection.db));
    sqlite3_finalize(statement);
    return found.join(u'\n');
}

std::optional<QString> storedValue(const QString &storePath, const QString &key)
{
    Connection connection(storePath);
    if (!connection.db)
        return std::nullopt;
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(connection.db,
                       "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3", -1,
                       &statement, nullptr);
    std::optional<QString> value;
    if (statement) {
        const QByteArray parts[] = {Settings::Application.toUtf8(), Settings::Section.toUtf8(), key.toUtf8()};
        for (int i = 0; i < 3; ++i)
            sqlite3_bind_text(statement, i + 1, parts[i].constData(), int(parts[i].size()), SQLITE_TRANSIENT);
        if (sqlite3_step(statement) == SQLITE_ROW) {
            value = QString::fromUtf8(static_cast<const char *>(sqlite3_column_blob(statement, 0)),
                                      sqlite3_column_bytes(statement, 0));
        }
    }
    sqlite3_finalize(statement);
    return value;
}

QByteArray digestOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

int shownCells(const MonthPanel *panel)
{
    int shown = 0;
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        const bool captionShown = !panel->dayCaption(cell)->isHidden();
        if (captionShown == panel->noteBox(cell)->isHidden())
            return -1;
        shown += captionShown ? 1 : 0;
    }
    return shown;
}

void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void giveFocus(QWidget *widget)
{
    widget->setFocus(Qt::TabFocusReason);
}

Typist::Typist(const QString &program, const QString &home, int cell, uid_t runAs)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_process.setProcessEnvironment(environment);
    if (runAs != 0) {
        m_process.setChildProcessModifier([runAs] {
            const gid_t group = gid_t(runAs);
            if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(runAs) != 0)
                ::_exit(125);
        });
    }
    m_process.start(program, {QString::number(cell)});
}

Typist::~Typist()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool Typist::waitForLine(const QByteArray &wanted)
{
    QDeadlineTimer deadline(30000);
    while (true) {
        qsizetype end;
        while ((end = m_output.indexOf('\n', m_parsed)) >= 0) {
            const QByteArray line = m_output.mid(m_parsed, end - m_parsed);
            m_parsed = end + 1;
            if (line.startsWith("message "))
                m_messages << QString::fromUtf8(line);
            if (line == wanted)
                return true;
        }
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return false;
        m_process.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        m_output += m_process.readAllStandardOutput();
    }
}

bool Typist::waitUntilReady()
{
    return m_process.waitForStarted(10000) && waitForLine("ready");
}

bool Typist::type(const QString &text)
{
    QString command = text;
    command.replace(u'\n', QLatin1String("\\n"));
    m_process.write("type " + command.toUtf8() + '\n');
    return waitForLine("done");
}

int Typist::quit()
{
    m_process.write("quit\n");
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(10000) || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    m_output += m_process.readAllStandardOutput();
    waitForLine("never");
    return m_process.exitCode();
}

} // namespace FaultKit
