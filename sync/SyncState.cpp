// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncState.h"

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

#include <exception>

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes of one batch transaction: few enough that a killed pass redoes little.
constexpr int BatchSize = 256;

// Made with mode 0600 before SQLite opens it, whatever the umask. A link
// planted at its place is not followed: the state would go where it points.
void createPrivateFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0 && errno == ELOOP)
        throw Failure(QCoreApplication::translate("SyncState", "The sync state %1 is a symbolic link, which is not followed: "
                                                  "remove it, and the next pass makes the state anew.").arg(path));
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
    m_db = std::make_unique<Sqlite::Database>(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, throwFailure,
                                              QCoreApplication::translate("SyncState", "cannot open it"));
    m_db->setBusyTimeout(SettingsStore::BusyTimeoutMs);
    m_db->execute("PRAGMA journal_mode=WAL", {});
    m_db->execute("PRAGMA synchronous=FULL", {});
    // Tables and columns in one transaction: a pass killed while it makes
    // them leaves none of them, never half a table.
    m_db->execute("BEGIN IMMEDIATE", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS entries(key TEXT PRIMARY KEY, href TEXT NOT NULL, etag TEXT NOT NULL, hash TEXT NOT NULL)", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS absorbed(href TEXT PRIMARY KEY, etag TEXT NOT NULL)", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS pass(name TEXT PRIMARY KEY, value TEXT NOT NULL)", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS brought(href TEXT PRIMARY KEY, key TEXT NOT NULL, text TEXT NOT NULL)", {});
    m_db->execute("CREATE TABLE IF NOT EXISTS sent(key TEXT NOT NULL, version TEXT NOT NULL, text TEXT NOT NULL, "
                  "color TEXT NOT NULL, PRIMARY KEY(key, version))", {});
    addMissingColumns();
    m_db->execute("COMMIT", {});
}

SyncState::~SyncState() = default;

// The base text and colour and the restored mark came later: a state made by
// an older version gets them, empty, and keeps its hashes.
void SyncState::addMissingColumns()
{
    QStringList columns;
    Sqlite::Statement info(*m_db, "PRAGMA table_info(entries)", {});
    while (info.step({}))
        columns << info.text(1);
    // Each column on its own: a pass killed between two of these statements
    // leaves some added, and the next one adds the rest.
    static const std::pair<const char *, const char *> Added[] = {
        {"base_text", "ALTER TABLE entries ADD COLUMN base_text TEXT"},
        {"base_color", "ALTER TABLE entries ADD COLUMN base_color TEXT"},
        {"restored", "ALTER TABLE entries ADD COLUMN restored INTEGER NOT NULL DEFAULT 0"},
        {"version", "ALTER TABLE entries ADD COLUMN version TEXT NOT NULL DEFAULT ''"}, // the marks, space between
        {"pending_text", "ALTER TABLE entries ADD COLUMN pending_text TEXT"},
        {"pending_color", "ALTER TABLE entries ADD COLUMN pending_color TEXT"},
        {"pending_version", "ALTER TABLE entries ADD COLUMN pending_version TEXT NOT NULL DEFAULT ''"},
    };
    for (const auto &[column, statement] : Added) {
        if (!columns.contains(QString::fromLatin1(column)))
            m_db->execute(statement, {});
    }
    if (!columns.contains(QStringLiteral("uid")))
        m_db->execute("ALTER TABLE entries ADD COLUMN uid TEXT NOT NULL DEFAULT ''", {});
}

QString SyncState::pathBeside(const QString &storePath)
{
    return QFileInfo(storePath).absoluteDir().filePath(QStringLiteral("sync-state.sqlite3"));
}

QString SyncState::hashOf(const QString &text, const QString &color)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(text.toUtf8());
    hash.addData(QByteArrayView("\0", 1));
    hash.addData(color.toUtf8());
    return QString::fromLatin1(hash.result().toHex());
}

namespace {

const char SelectEntries[] = "SELECT key, href, etag, hash, base_text IS NOT NULL, base_text, base_color, restored, version, "
                             "pending_text IS NOT NULL, pending_text, pending_color, pending_version, uid FROM entries";

SyncState::Entry entryOf(const Sqlite::Statement &row)
{
    SyncState::Entry entry;
    entry.href = row.text(1);
    entry.etag = row.text(2);
    entry.hash = row.text(3);
    if (row.integer(4) != 0)
        entry.base = Note::fromKey(row.text(0), row.text(5), row.text(6));
    entry.restored = row.integer(7) != 0;
    entry.versions = row.text(8).split(u' ', Qt::SkipEmptyParts);
    if (row.integer(9) != 0)
        entry.pending = Note::fromKey(row.text(0), row.text(10), row.text(11));
    entry.pendingVersion = row.text(12);
    entry.uid = row.text(13);
    return entry;
}

const char SelectSent[] = "SELECT key, version, text, color FROM sent";

// A row of SelectSent into the entry of its key.
void addSent(SyncState::Entry &entry, const Sqlite::Statement &row)
{
    if (const std::optional<Note> note = Note::fromKey(row.text(0), row.text(2), row.text(3)))
        entry.earlierSent.insert(row.text(1), *note);
}

} // namespace

QHash<QString, SyncState::Entry> SyncState::entries()
{
    QHash<QString, Entry> result;
    Sqlite::Statement select(*m_db, SelectEntries, {});
    while (select.step({}))
        result.insert(select.text(0), entryOf(select));
    Sqlite::Statement sent(*m_db, SelectSent, {});
    while (sent.step({})) {
        const auto entry = result.find(sent.text(0));
        if (entry != result.end())
            addSent(*entry, sent);
    }
    return result;
}

std::optional<SyncState::Entry> SyncState::entry(const QString &key)
{
    Sqlite::Statement select(*m_db, (QByteArray(SelectEntries) + " WHERE key = ?").constData(), {});
    select.bind(1, key);
    if (!select.step({}))
        return std::nullopt;
    Entry entry = entryOf(select);
    Sqlite::Statement sent(*m_db, (QByteArray(SelectSent) + " WHERE key = ?").constData(), {});
    sent.bind(1, key);
    while (sent.step({}))
        addSent(entry, sent);
    return entry;
}

void SyncState::setEntry(const QString &key, const Entry &entry)
{
    Sqlite::Statement statement(*m_db,
                                "INSERT OR REPLACE INTO entries(key, href, etag, hash, base_text, base_color, restored, version, "
                                "pending_text, pending_color, pending_version, uid) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                                {});
    statement.bind(1, key);
    statement.bind(2, entry.href);
    statement.bind(3, entry.etag);
    statement.bind(4, entry.base ? hashOf(entry.base->text, entry.base->color) : entry.hash);
    if (entry.base) {
        statement.bind(5, entry.base->text);
        statement.bind(6, entry.base->color);
    }
    statement.bind(7, entry.restored ? QStringLiteral("1") : QStringLiteral("0"));
    statement.bind(8, entry.versions.join(u' '));
    if (entry.pending) {
        statement.bind(9, entry.pending->text);
        statement.bind(10, entry.pending->color);
    }
    statement.bind(11, entry.pendingVersion);
    statement.bind(12, entry.uid);
    statement.run({});
    if (!entry.pending) // agreed again: what was sent before is history
        write("DELETE FROM sent WHERE key = ?", {key});
    countBatchWrite();
}

void SyncState::setPending(const QString &key, const QString &href, const Note &note, const QString &version)
{
    Entry entry = this->entry(key).value_or(Entry{});
    if (!entry.agreed())
        entry.href = href;
    if (entry.pending && !entry.pendingVersion.isEmpty()) { // its fate is still unknown
        write("INSERT OR REPLACE INTO sent(key, version, text, color) VALUES(?, ?, ?, ?)",
              {key, entry.pendingVersion, entry.pending->text, entry.pending->color});
        // An entry keeps no more version marks than this: older ones can never match.
        write("DELETE FROM sent WHERE key = ? AND rowid NOT IN (SELECT rowid FROM sent WHERE key = ? ORDER BY rowid DESC LIMIT ?)",
              {key, key, QString::number(KeptVersions)});
    }
    entry.pending = note;
    entry.pendingVersion = version;
    setEntry(key, entry);
}

void SyncState::countBatchWrite()
{
    if (m_batching && ++m_batchWrites >= BatchSize)
        commit();
}

void SyncState::commit()
{
    if (!m_batching || m_batchWrites == 0)
        return;
    m_db->execute("COMMIT", {});
    m_db->execute("BEGIN IMMEDIATE", {});
    m_batchWrites = 0;
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

QHash<QString, SyncState::Brought> SyncState::brought()
{
    QHash<QString, Brought> result;
    Sqlite::Statement select(*m_db, "SELECT href, key, text FROM brought", {});
    while (select.step({}))
        result.insert(select.text(0), {select.text(1), select.text(2)});
    return result;
}

void SyncState::setBrought(const QString &href, const Brought &brought)
{
    write("INSERT OR REPLACE INTO brought(href, key, text) VALUES(?, ?, ?)", {href, brought.key, brought.text});
}

void SyncState::moveKey(const QString &from, const QString &to)
{
    if (from == to)
        return;
    if (entry(to)) {
        write("DELETE FROM entries WHERE key = ?", {from});
        write("DELETE FROM sent WHERE key = ?", {from});
    } else { // what was sent of the note goes with it, as its pending note does
        write("UPDATE entries SET key = ? WHERE key = ?", {to, from});
        write("UPDATE sent SET key = ? WHERE key = ?", {to, from});
    }
    write("UPDATE brought SET key = ? WHERE key = ?", {to, from});
    setValue(QStringLiteral("sync-token"), QString());
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

void SyncState::markRestored()
{
    m_db->execute("UPDATE entries SET restored = 1", {});
}

void SyncState::write(const char *sql, const QStringList &values)
{
    Sqlite::Statement statement(*m_db, sql, {});
    for (int i = 0; i < values.size(); ++i)
        statement.bind(i + 1, values.at(i));
    statement.run({});
}

SyncState::Batch::Batch(SyncState &state)
    : m_state(state), m_exceptions(std::uncaught_exceptions())
{
    m_state.m_db->execute("BEGIN IMMEDIATE", {});
    m_state.m_batching = true;
    m_state.m_batchWrites = 0;
}

// Left by a failure the pass reports, the batch keeps what was agreed; left
// by anything else it is lost, as a killed pass loses it.
void SyncState::Batch::keep()
{
    m_kept = true;
}

SyncState::Batch::~Batch()
{
    m_state.m_batching = false;
    const bool lost = std::uncaught_exceptions() > m_exceptions && !m_kept;
    m_state.m_db->executeIgnoringFailure(lost ? "ROLLBACK" : "COMMIT");
}
