#include "settings/StoreFile.h"

#include "platform/Failure.h"
#include "settings/PartFile.h"
#include "settings/Settings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Small enough steps that a large copy can report progress, large enough
// that a store of ordinary size is copied in one.
constexpr int PagesPerStep = 512;
// How long a copy waits for a writer that holds the target (or the source) locked.
constexpr int LockWaitMs = 10000;

struct StatementFinalizer { void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); } };
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;
struct BackupFinisher { void operator()(sqlite3_backup *backup) const { sqlite3_backup_finish(backup); } };
using Backup = std::unique_ptr<sqlite3_backup, BackupFinisher>;

QString columnText(sqlite3_stmt *statement, int column)
{
    const auto *text = static_cast<const char *>(sqlite3_column_blob(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// A file in a folder that cannot be written is a copy put away, or a store
// on a medium mounted read-only: SQLite could not make the -shm file a WAL
// store needs, and no one can change the file there, so it is read as it
// stands. A -wal or -journal file beside it belongs to the content, so then not.
bool readAsItStands(const QString &path)
{
    const QFileInfo file(path);
    return ::access(QFile::encodeName(file.absolutePath()).constData(), W_OK) != 0
           && !QFileInfo::exists(path + QStringLiteral("-wal")) && !QFileInfo::exists(path + QStringLiteral("-journal"));
}

QByteArray uriOf(const QString &path, StoreFile::Access access)
{
    QByteArray uri = "file:" + QUrl::toPercentEncoding(QFileInfo(path).absoluteFilePath(), "/");
    if (access == StoreFile::Access::ReadOnly)
        uri += readAsItStands(path) ? "?mode=ro&immutable=1" : "?mode=ro";
    return uri;
}

bool isBusy(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

} // namespace

void StoreFile::DatabaseCloser::operator()(sqlite3 *db) const
{
    sqlite3_close_v2(db);
}

StoreFile::StoreFile(QString path, Access access)
    : m_path(std::move(path))
{
    // SQLite would create a missing file even read-only (its -shm), or report a vague error.
    if (!QFileInfo(m_path).isFile())
        throw Failure(tr("There is no notes store at %1.").arg(m_path));
    const int flags = access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    sqlite3 *raw = nullptr;
    const int code = sqlite3_open_v2(uriOf(m_path, access).constData(), &raw, flags | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI,
                                     nullptr);
    m_db.reset(raw); // closed on every path, also after a failed open
    if (code != SQLITE_OK)
        fail(tr("Cannot open"), code);
    sqlite3_extended_result_codes(m_db.get(), 1);
    sqlite3_busy_timeout(m_db.get(), BusyTimeoutMs);
}

StoreFile::~StoreFile() = default;
StoreFile::StoreFile(StoreFile &&) noexcept = default;
StoreFile &StoreFile::operator=(StoreFile &&) noexcept = default;

bool StoreFile::hasSettingsTable()
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(), "SELECT name, pk FROM pragma_table_info('settings') ORDER BY cid", -1,
                                  &raw, nullptr);
    const Statement columns(raw);
    if (code != SQLITE_OK)
        fail(tr("Cannot read"), code);
    QStringList names;
    QStringList keyColumns;
    while ((code = sqlite3_step(raw)) == SQLITE_ROW) {
        names << columnText(raw, 0);
        if (sqlite3_column_int(raw, 1) > 0)
            keyColumns << names.constLast();
    }
    if (code != SQLITE_DONE)
        fail(tr("Cannot read"), code);
    const QStringList expected{QStringLiteral("application"), QStringLiteral("section"), QStringLiteral("key"),
                               QStringLiteral("value")};
    return names == expected && keyColumns == expected.mid(0, 3);
}

void StoreFile::checkTable()
{
    if (!hasSettingsTable()) {
        throw Failure(tr("The file %1 is not a notes store of Tavorin Planner: it has no table "
                                     "settings(application, section, key, value).")
                          .arg(m_path));
    }
}

void StoreFile::checkIntegrity()
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(), "PRAGMA integrity_check(3)", -1, &raw, nullptr);
    const Statement check(raw);
    if (code != SQLITE_OK)
        fail(tr("Cannot check"), code);
    QStringList problems;
    while ((code = sqlite3_step(raw)) == SQLITE_ROW)
        problems << columnText(raw, 0);
    if (code != SQLITE_DONE)
        fail(tr("Cannot check"), code);
    if (problems != QStringList{QStringLiteral("ok")})
        throw Failure(tr("The file %1 is damaged: %2").arg(m_path, problems.join(QStringLiteral("; "))));
}

bool StoreFile::hasOnlyOwnSchema()
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(),
                                  "SELECT count(*) FROM sqlite_schema WHERE NOT ((type = 'table' AND name = 'settings') "
                                  "OR (type = 'index' AND name = 'sqlite_autoindex_settings_1'))",
                                  -1, &raw, nullptr);
    const Statement count(raw);
    if (code != SQLITE_OK || (code = sqlite3_step(raw)) != SQLITE_ROW)
        fail(tr("Cannot read"), code);
    return sqlite3_column_int(raw, 0) == 0;
}

int StoreFile::noteCount()
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(),
                                  "SELECT count(*) FROM settings WHERE application = ?1 AND section = ?2 "
                                  "AND instr(key, '_txtNote_') > 0 AND value <> ''",
                                  -1, &raw, nullptr);
    const Statement count(raw);
    if (code != SQLITE_OK)
        fail(tr("Cannot read"), code);
    bindText(raw, 1, Settings::Application);
    bindText(raw, 2, Settings::Section);
    if ((code = sqlite3_step(raw)) != SQLITE_ROW)
        fail(tr("Cannot read"), code);
    return sqlite3_column_int(raw, 0);
}

int StoreFile::pageSize()
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(), "PRAGMA page_size", -1, &raw, nullptr);
    const Statement pragma(raw);
    if (code != SQLITE_OK || (code = sqlite3_step(raw)) != SQLITE_ROW)
        fail(tr("Cannot read"), code);
    return sqlite3_column_int(raw, 0);
}

void StoreFile::readValues(const std::function<void(const QString &, const QString &)> &visit)
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(),
                                  "SELECT key, value FROM settings WHERE application = ?1 AND section = ?2 ORDER BY key",
                                  -1, &raw, nullptr);
    const Statement select(raw);
    if (code != SQLITE_OK)
        fail(tr("Cannot read"), code);
    bindText(raw, 1, Settings::Application);
    bindText(raw, 2, Settings::Section);
    while ((code = sqlite3_step(raw)) == SQLITE_ROW)
        visit(columnText(raw, 0), columnText(raw, 1));
    if (code != SQLITE_DONE)
        fail(tr("Cannot read"), code);
}

void StoreFile::copyInto(StoreFile &target, const Progress &progress)
{
    const auto failCopy = [&](int code) {
        QString reason = QString::fromUtf8(sqlite3_errstr(code));
        if (sqlite3_errcode(target.m_db.get()) == code)
            reason = QString::fromUtf8(sqlite3_errmsg(target.m_db.get()));
        const QString description = tr("Cannot copy the notes store %1 to %2: %3.").arg(m_path, target.m_path, reason);
        if (isBusy(code))
            throw StoreBusy(description);
        throw Failure(description);
    };
    Backup backup(sqlite3_backup_init(target.m_db.get(), "main", m_db.get(), "main"));
    if (!backup)
        failCopy(sqlite3_errcode(target.m_db.get()));

    int pagesPerStep = PagesPerStep;
    int lastRemaining = INT_MAX;
    QElapsedTimer locked;
    for (;;) {
        const int code = sqlite3_backup_step(backup.get(), pagesPerStep);
        if (code == SQLITE_DONE)
            break;
        if (isBusy(code)) {
            if (!locked.isValid())
                locked.start();
            if (locked.hasExpired(LockWaitMs))
                failCopy(code);
            sqlite3_sleep(20);
            continue;
        }
        if (code != SQLITE_OK)
            failCopy(code);
        locked.invalidate();
        const int remaining = sqlite3_backup_remaining(backup.get());
        // A write to the source between steps restarts the copy; a planner that
        // keeps writing could restart it for ever, so finish in one step then.
        if (remaining > lastRemaining)
            pagesPerStep = -1;
        lastRemaining = remaining;
        if (progress)
            progress(sqlite3_backup_pagecount(backup.get()) - remaining, sqlite3_backup_pagecount(backup.get()));
    }
    const int total = sqlite3_backup_pagecount(backup.get());
    const int code = sqlite3_backup_finish(backup.release());
    if (code != SQLITE_OK)
        failCopy(code);
    if (progress)
        progress(total, total);
}

void StoreFile::copyToNewFile(const QString &path, const Progress &progress)
{
    PartFile part(path);
    {
        StoreFile copy(part.path(), Access::ReadWrite);
        copy.execute("PRAGMA synchronous = FULL");
        copyInto(copy, progress);
        copy.execute("PRAGMA journal_mode = DELETE");
    }
    part.commit();
}

void StoreFile::copyRowsInto(StoreFile &target)
{
    sqlite3_stmt *raw = nullptr;
    int code = sqlite3_prepare_v2(m_db.get(), "SELECT application, section, key, value FROM settings", -1, &raw, nullptr);
    const Statement select(raw);
    if (code != SQLITE_OK)
        fail(tr("Cannot read"), code);
    code = sqlite3_prepare_v2(target.m_db.get(), "INSERT INTO settings(application, section, key, value) "
                                                 "VALUES (?1, ?2, ?3, ?4)", -1, &raw, nullptr);
    const Statement insert(raw);
    if (code != SQLITE_OK)
        target.fail(tr("Cannot write"), code);
    target.execute("BEGIN IMMEDIATE");
    auto rollback = qScopeGuard([&target] { sqlite3_exec(target.m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr); });
    while ((code = sqlite3_step(select.get())) == SQLITE_ROW) {
        for (int column = 0; column < 4; ++column)
            bindText(insert.get(), column + 1, columnText(select.get(), column));
        if ((code = sqlite3_step(insert.get())) != SQLITE_DONE)
            target.fail(tr("Cannot write"), code);
        sqlite3_reset(insert.get());
    }
    if (code != SQLITE_DONE)
        fail(tr("Cannot read"), code);
    target.execute("COMMIT");
    rollback.dismiss();
}

void StoreFile::execute(const char *sql)
{
    const int code = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(tr("Cannot use"), code);
}

void StoreFile::fail(const QString &what, int code) const
{
    QString reason = QString::fromUtf8(sqlite3_errstr(code));
    if (m_db && sqlite3_errcode(m_db.get()) == code)
        reason = QString::fromUtf8(sqlite3_errmsg(m_db.get()));
    const QString description = tr("%1 the notes store %2: %3.").arg(what, m_path, reason);
    if (isBusy(code))
        throw StoreBusy(description);
    throw Failure(description);
}
