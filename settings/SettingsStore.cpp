// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsStore.h"

#include "platform/Failure.h"
#include "settings/Sqlite.h"
#include "settings/StoreDamaged.h"
#include "settings/StoreFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char UpsertSql[] =
    "INSERT INTO settings(application, section, key, value) VALUES (?1, ?2, ?3, ?4) "
    "ON CONFLICT(application, section, key) DO UPDATE SET value = excluded.value";
const char SelectSql[] =
    "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3";

} // namespace

const char *const SettingsStore::CreateTableSql =
    "CREATE TABLE IF NOT EXISTS settings("
    "application TEXT NOT NULL, section TEXT NOT NULL, key TEXT NOT NULL, value TEXT NOT NULL, "
    "PRIMARY KEY (application, section, key))";

SettingsStore::SettingsStore(QString path)
    : m_path(std::move(path))
{
}

SettingsStore::~SettingsStore()
{
    close();
}

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Quillmere/settings.sqlite3");
}

// Once SQLite has found the file damaged, nothing more is written to it: a
// write could build on the damaged page and spread the damage.
template<typename Call>
auto SettingsStore::unlessDamaged(Call &&call)
{
    if (!m_refusal.isEmpty())
        throw Failure(m_refusal);
    try {
        return call();
    } catch (const StoreDamaged &damaged) {
        refuseAsDamaged(damaged.finding());
        throw Failure(m_refusal);
    }
}

void SettingsStore::save(const QString &application, const QString &section, const QString &key,
                         const QString &value)
{
    unlessDamaged([&] {
        ensureOpen();
        leaveReadBatch(); // a write in it would be stored only at its end
        Sqlite::Statement &statement = *m_upsert;
        statement.bind(1, application);
        statement.bind(2, section);
        statement.bind(3, key);
        statement.bind(4, value);
        try {
            statement.run(tr("Cannot save \"%1\" in").arg(key.left(80)));
        } catch (const StoreDamaged &) {
            throw; // closed by the refusal, which keeps the file as it is
        } catch (...) {
            // A connection that could not write may never write again (SQLite keeps
            // a file that was read-only when it was opened read-only), so the next
            // call opens the store afresh and finds it writable once it is.
            close();
            throw;
        }
        statement.reset();
    });
    if (m_writeObserver)
        m_writeObserver(key, value);
}

void SettingsStore::remove(const QString &application, const QString &section, const QString &key)
{
    unlessDamaged([&] {
        ensureOpen();
        leaveReadBatch();
        Sqlite::Statement statement = prepare("DELETE FROM settings WHERE application = ? AND section = ? AND key = ?");
        statement.bind(1, application);
        statement.bind(2, section);
        statement.bind(3, key);
        statement.run(tr("Cannot remove \"%1\" from").arg(key.left(80)));
    });
}

std::optional<QString> SettingsStore::read(const QString &application, const QString &section,
                                           const QString &key)
{
    return unlessDamaged([&]() -> std::optional<QString> {
        ensureOpen();
        if (m_readBatch && !m_inReadBatch) {
            m_db->execute("BEGIN", tr("Cannot read"));
            m_inReadBatch = true;
        }
        Sqlite::Statement &statement = *m_select;
        const auto reset = qScopeGuard([&statement] { statement.reset(); });
        statement.bind(1, application);
        statement.bind(2, section);
        statement.bind(3, key);
        if (!statement.step(tr("Cannot read \"%1\" from").arg(key.left(80))))
            return std::nullopt;
        return statement.text(0);
    });
}

bool SettingsStore::refuseAsDamaged(const QString &finding)
{
    if (!m_refusal.isEmpty())
        return false;
    m_refusal = tr("The notes store %1 is damaged: %2. The planner stores nothing more in it. Close the planner, "
                   "then put back a safety copy with \"tavorin-notes restore\" or move the file away.")
                    .arg(m_path, finding.left(200));
    m_holdFile = true;
    close();
    return true;
}

void SettingsStore::endReadBatch()
{
    m_readBatch = false;
    if (m_db && m_inReadBatch)
        m_db->executeIgnoringFailure("COMMIT"); // a read transaction: nothing to store
    m_inReadBatch = false;
}

void SettingsStore::leaveReadBatch()
{
    if (!m_inReadBatch)
        return;
    m_inReadBatch = false;
    try {
        m_db->execute("COMMIT", tr("Cannot use"));
    } catch (...) {
        close(); // so that no write is left inside the transaction
        throw;
    }
}

void SettingsStore::holdFileUntilChecked()
{
    m_holdFile = true;
    if (m_db)
        m_db->execute("PRAGMA wal_autocheckpoint = 0", tr("Cannot use"));
}

void SettingsStore::fileCheckPassed()
{
    if (!m_refusal.isEmpty())
        return;
    m_holdFile = false;
    if (m_db)
        m_db->executeIgnoringFailure("PRAGMA wal_autocheckpoint = 1000"); // SQLite's own default
}

QList<std::pair<QString, QString>> SettingsStore::readAll(const QString &application, const QString &section)
{
    ensureOpen();
    Sqlite::Statement select = prepare("SELECT key, value FROM settings WHERE application = ?1 AND section = ?2 ORDER BY key");
    select.bind(1, application);
    select.bind(2, section);
    QList<std::pair<QString, QString>> values;
    while (select.step(tr("Cannot read")))
        values.append({select.text(0), select.text(1)});
    return values;
}

void SettingsStore::inTransaction(const std::function<void()> &work)
{
    ensureOpen();
    m_db->execute("BEGIN IMMEDIATE", tr("Cannot save in"));
    try {
        work();
        m_db->execute("COMMIT", tr("Cannot save in"));
    } catch (...) {
        if (m_db) // a failed save closes the connection, which rolls back by itself
            m_db->executeIgnoringFailure("ROLLBACK");
        throw;
    }
}

bool SettingsStore::changedElsewhere()
{
    if (!m_db)
        return false;
    const qint64 seen = m_seenVersion;
    m_seenVersion = dataVersion();
    return m_seenVersion != seen;
}

// SQLite's count of the commits other connections made to the file, as this
// connection sees it; its own commits leave it as it is.
qint64 SettingsStore::dataVersion()
{
    Sqlite::Statement &statement = *m_dataVersion;
    const auto reset = qScopeGuard([&statement] { statement.reset(); });
    statement.stepToRow(tr("Cannot read"));
    return statement.integer(0);
}

// Another copy of the planner that types commits every keystroke, so the lock
// is free only for moments: SQLite's own timeout sleeps up to 100 ms between
// tries and can miss every one of them. Trying again each millisecond finds one.
int SettingsStore::waitForOtherCopy(void *, int attempt)
{
    constexpr int PollMs = 1;
    if (attempt * PollMs >= BusyTimeoutMs)
        return 0;
    sqlite3_sleep(PollMs);
    return 1;
}

void SettingsStore::ensureOpen()
{
    if (m_db)
        return;
    try {
        open();
    } catch (const StoreDamaged &) {
        throw; // closed by the refusal, which keeps the file as it is
    } catch (...) {
        close();
        throw;
    }
}

void SettingsStore::close()
{
    m_upsert.reset();
    m_select.reset();
    m_dataVersion.reset();
    m_inReadBatch = false; // a transaction ends with its connection
    // An empty -wal file goes as usual: copying it over writes nothing.
    if (m_db && m_holdFile && walHoldsWrites())
        m_db->setCheckpointOnClose(false);
    m_db.reset(); // after its statements
}

bool SettingsStore::walHoldsWrites() const
{
    return QFileInfo(m_path + QStringLiteral("-wal")).size() > 0;
}

void SettingsStore::open()
{
    createFileIfMissing();
    StoreFolder::checkPrivate(m_path);
    const QString path = m_path;
    const auto throwFailure = [path](const QString &what, const QString &reason, int code) {
        const QString description = tr("%1 the notes store %2: %3.").arg(what, path, reason);
        if (Sqlite::isDamaged(code))
            throw StoreDamaged(description, reason);
        throw Failure(description);
    };
    m_db = std::make_unique<Sqlite::Database>(QFile::encodeName(m_path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                              throwFailure, tr("Cannot open"));
    sqlite3_busy_handler(m_db->handle(), &SettingsStore::waitForOtherCopy, nullptr);

    if (isEmptyDatabase())
        createSchema();
    else
        checkSchema();
    m_db->execute("PRAGMA synchronous = FULL", tr("Cannot use"));
    if (m_holdFile)
        m_db->execute("PRAGMA wal_autocheckpoint = 0", tr("Cannot use"));
    m_upsert = std::make_unique<Sqlite::Statement>(prepare(UpsertSql));
    m_select = std::make_unique<Sqlite::Statement>(prepare(SelectSql));
    m_dataVersion = std::make_unique<Sqlite::Statement>(prepare("PRAGMA data_version"));
    m_seenVersion = dataVersion();
}

// A new store starts as an empty file made with the user's private mode, so
// that neither the umask nor a second copy starting at the same moment decides it.
void SettingsStore::createFileIfMissing()
{
    if (QFileInfo::exists(m_path))
        return;
    const QString folder = QFileInfo(m_path).absolutePath();
    StoreFolder::makePrivate(folder);
    const QByteArray native = QFile::encodeName(m_path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            return;
        throw Failure(tr("Cannot create the notes store %1: %2")
                          .arg(m_path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    ::fchmod(fd, 0600);
    ::fsync(fd);
    ::close(fd);
    const int folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd); // the new file's name survives a power loss too
        ::close(folderFd);
    }
}

// True for a database that holds nothing at all: a new file, or what a first
// start left when it was cut short, either an empty file or one already
// switched to WAL but without the table yet.
bool SettingsStore::isEmptyDatabase()
{
    Sqlite::Statement count = prepare("SELECT count(*) FROM sqlite_schema");
    count.stepToRow(tr("Cannot read"));
    return count.integer(0) == 0;
}

void SettingsStore::createSchema()
{
    m_db->execute("PRAGMA journal_mode = WAL", tr("Cannot use"));
    m_db->execute("BEGIN IMMEDIATE", tr("Cannot use"));
    try {
        m_db->execute(CreateTableSql, tr("Cannot use"));
        m_db->execute("COMMIT", tr("Cannot use"));
    } catch (...) {
        m_db->executeIgnoringFailure("ROLLBACK");
        throw;
    }
}

// An existing file is used only when it holds our table; otherwise it is left
// exactly as it is and the store reports what it found.
void SettingsStore::checkSchema()
{
    if (!m_db->hasSettingsTable(tr("Cannot read"))) {
        throw Failure(tr("The file %1 is not a notes store of this program: it has no table "
                                     "settings(application, section, key, value). The file was left unchanged.")
                          .arg(m_path));
    }
    // Once passed, the check is not repeated when a failed write makes the
    // store open again: that would read the whole file at a keystroke.
    if (m_wholeFileCheck) {
        checkIntegrity();
        m_wholeFileCheck = false;
    }
    // A store made elsewhere may use a rollback journal; WAL lets a second copy read while one writes.
    m_db->executeIgnoringFailure("PRAGMA journal_mode = WAL");
}

// A damaged page anywhere in the file is found before anything is written:
// SQLite would otherwise read and write around it, and every write could
// spread the damage. A page damaged after the check is found by the first
// read or write that touches it.
void SettingsStore::checkIntegrity()
{
    const QStringList damage = m_db->damage(tr("Cannot read"));
    if (!damage.isEmpty()) {
        const QString finding = damage.join(QStringLiteral("; "));
        throw StoreDamaged(finding, finding);
    }
}

Sqlite::Statement SettingsStore::prepare(const char *sql)
{
    return Sqlite::Statement(*m_db, sql, tr("Cannot read"), Sqlite::Statement::Use::Persistent);
}
