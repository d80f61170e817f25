// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"

#include "calendar/Controls.h"
#include "calendar/MonthPanel.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"

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
    {
        Sqlite::Database db(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        db.executeIgnoringFailure(sql);
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

namespace {

// A read-only connection of its own, closed on every path.
Sqlite::Database connectionTo(const QString &path)
{
    Sqlite::Database db(QFile::encodeName(path), SQLITE_OPEN_READONLY);
    db.setBusyTimeout(SettingsStore::BusyTimeoutMs);
    return db;
}

} // namespace

QString integrityOf(const QString &storePath)
{
    try {
        Sqlite::Database db = connectionTo(storePath);
        const QStringList damage = db.damage(QStringLiteral("Cannot check"));
        return damage.isEmpty() ? QStringLiteral("ok") : damage.join(u'\n');
    } catch (const Failure &failure) {
        return failure.description();
    }
}

std::optional<QString> storedValue(const QString &storePath, const QString &key)
{
    try {
        Sqlite::Database db = connectionTo(storePath);
        Sqlite::Statement select(db, "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3",
                                 QStringLiteral("Cannot read"));
        select.bind(1, Settings::Application);
        select.bind(2, Settings::Section);
        select.bind(3, key);
        if (select.step(QStringLiteral("Cannot read")))
            return select.text(0);
    } catch (const Failure &) {
        // A store that cannot be read holds no value a test could compare.
    }
    return std::nullopt;
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
