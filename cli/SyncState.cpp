// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncState.h"

#include "platform/Failure.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"
#include "settings/StoreFolder.h"

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

SyncState::SyncState(const QString &path)
{
    // A machine that never ran the planner has no store folder yet: make it as the planner does.
    StoreFolder::makePrivate(QFileInfo(path).absolutePath());
    createPrivateFile(path);
    // A failed open says only that; every other failure gives SQLite's reason.
    const auto throwFailure = [path](const QString &what, const QString &reason, int) {
        throw Failure(QCoreApplication::translate("SyncState", "The sync state %1: %2.").arg(path, what.isEmpty() ? reason : what));
    };
    m_db = std::make_unique<Sqlite::Database>(QFile::encodeName(path), SQLITE_OPEN_READWRITE, throwFailure,
                                              QCoreApplication::translate("SyncState", "cannot open it"));
    m_db->setBusyTimeout(SettingsStore::BusyTimeoutMs);
    m_db->execute("PRAGMA journal_mode=WAL", {});
    m_db->execute("PRAGMA synchronous=FULL", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS entries(key TEXT PRIMARY KEY, href TEXT NOT NULL, etag TEXT NOT NULL, hash TEXT NOT NULL)", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS absorbed(href TEXT PRIMARY KEY, etag TEXT NOT NULL)", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS pass(name TEXT PRIMARY KEY, value TEXT NOT NULL)", {});
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
    Sqlite::Statement select(*m_db, "SELECT key, href, etag, hash FROM entries", {});
    while (select.step({}))
        result.insert(select.text(0), {select.text(1), select.text(2), select.text(3)});
    return result;
}

std::optional<SyncState::Entry> SyncState::entry(const QString &key)
{
    Sqlite::Statement select(*m_db, "SELECT href, etag, hash FROM entries WHERE key = ?", {});
    select.bind(1, key);
    if (!select.step({}))
        return std::nullopt;
    return Entry{select.text(0), select.text(1), select.text(2)};
}

void SyncState::setEntry(const QString &key, const Entry &entry)
{
    write("INSERT OR REPLACE INTO entries(key, href, etag, hash) VALUES(?, ?, ?, ?)", {key, entry.href, entry.etag, entry.hash});
}

QHash<QString, QString> SyncState::absorbed()
{
    QHash<QString, QString> result;
    Sqlite::Statement select(*m_db, "SELECT href, etag FROM absorbed", {});
    while (select.step({}))
        result.insert(select.text(0), select.text(1));
    return result;
}

void SyncState::setAbsorbed(const QString &href, const QString &etag)
{
    write("INSERT OR REPLACE INTO absorbed(href, etag) VALUES(?, ?)", {href, etag});
}

QString SyncState::value(const QString &name)
{
    Sqlite::Statement select(*m_db, "SELECT value FROM pass WHERE name = ?", {});
    select.bind(1, name);
    return select.step({}) ? select.text(0) : QString();
}

void SyncState::setValue(const QString &name, const QString &value)
{
    write("INSERT OR REPLACE INTO pass(name, value) VALUES(?, ?)", {name, value});
}

void SyncState::write(const char *sql, const QStringList &values)
{
    Sqlite::Statement statement(*m_db, sql, {});
    for (int i = 0; i < values.size(); ++i)
        statement.bind(i + 1, values.at(i));
    statement.run({});
}
