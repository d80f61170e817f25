// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncState.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct StatementFinalizer { void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); } };
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

QString columnText(sqlite3_stmt *statement, int column)
{
    return QString::fromUtf8(static_cast<const char *>(sqlite3_column_blob(statement, column)),
                             sqlite3_column_bytes(statement, column));
}

// Made with mode 0600 before SQLite opens it, whatever the umask.
void createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::fchmod(fd, 0600);
        ::close(fd);
    }
}

} // namespace

void SyncState::DatabaseCloser::operator()(sqlite3 *db) const
{
    sqlite3_close_v2(db);
}

SyncState::SyncState(const QString &path)
    : m_path(path)
{
    // A machine that never ran the planner has no store folder yet: make it as the planner does.
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder) && QDir().mkpath(folder))
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    createPrivateFile(path);
    sqlite3 *db = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    m_db.reset(db);
    if (code != SQLITE_OK)
        fail(QCoreApplication::translate("SyncState", "cannot open it"));
    sqlite3_busy_timeout(db, 5000);
    execute("PRAGMA journal_mode=WAL");
    execute("PRAGMA synchronous=FULL");
    execute("CREATE TABLE IF NOT EXISTS entries(key TEXT PRIMARY KEY, href TEXT NOT NULL, etag TEXT NOT NULL, hash TEXT NOT NULL)");
    execute("CREATE TABLE IF NOT EXISTS absorbed(href TEXT PRIMARY KEY, etag TEXT NOT NULL)");
    execute("CREATE TABLE IF NOT EXISTS pass(name TEXT PRIMARY KEY, value TEXT NOT NULL)");
}

SyncState::~SyncState() = default;

QString SyncState::pathBeside(const QString &storePath)
{
    return QFileInfo(storePath).absoluteDir().filePath(QStringLiteral("sync-state.sqlite3"));
}

QString SyncState::hashOf(const QString &text, const QString &colorText)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(text.toUtf8());
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(colorText.toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

QHash<QString, SyncState::Entry> SyncState::entries()
{
    QHash<QString, Entry> result;
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(m_db.get(), "SELECT key, href, etag, hash FROM entries", -1, &raw, nullptr);
    const Statement statement(raw);
    while (raw && sqlite3_step(raw) == SQLITE_ROW)
        result.insert(columnText(raw, 0), {columnText(raw, 1), columnText(raw, 2), columnText(raw, 3)});
    return result;
}

void SyncState::setEntry(const QString &key, const Entry &entry)
{
    write("INSERT OR REPLACE INTO entries(key, href, etag, hash) VALUES(?, ?, ?, ?)", {key, entry.href, entry.etag, entry.hash});
}

QHash<QString, QString> SyncState::absorbed()
{
    QHash<QString, QString> result;
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(m_db.get(), "SELECT href, etag FROM absorbed", -1, &raw, nullptr);
    const Statement statement(raw);
    while (raw && sqlite3_step(raw) == SQLITE_ROW)
        result.insert(columnText(raw, 0), columnText(raw, 1));
    return result;
}

void SyncState::setAbsorbed(const QString &href, const QString &etag)
{
    write("INSERT OR REPLACE INTO absorbed(href, etag) VALUES(?, ?)", {href, etag});
}

QString SyncState::value(const QString &name)
{
    sqlite3_stmt *raw = nullptr;
    sqlite3_prepare_v2(m_db.get(), "SELECT value FROM pass WHERE name = ?", -1, &raw, nullptr);
    const Statement statement(raw);
    const QByteArray utf8 = name.toUtf8();
    sqlite3_bind_text(raw, 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return raw && sqlite3_step(raw) == SQLITE_ROW ? columnText(raw, 0) : QString();
}

void SyncState::setValue(const QString &name, const QString &value)
{
    write("INSERT OR REPLACE INTO pass(name, value) VALUES(?, ?)", {name, value});
}

void SyncState::execute(const char *sql)
{
    if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db.get())));
}

void SyncState::write(const char *sql, const QStringList &values)
{
    sqlite3_stmt *raw = nullptr;
    if (sqlite3_prepare_v2(m_db.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db.get())));
    const Statement statement(raw);
    for (int i = 0; i < values.size(); ++i) {
        const QByteArray utf8 = values.at(i).toUtf8();
        sqlite3_bind_text(raw, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    if (sqlite3_step(raw) != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(m_db.get())));
}

void SyncState::fail(const QString &what) const
{
    throw Failure(QCoreApplication::translate("SyncState", "The sync state %1: %2.").arg(m_path, what));
}
