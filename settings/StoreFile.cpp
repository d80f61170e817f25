// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/StoreFile.h"

#include "platform/Failure.h"
#include "settings/PartFile.h"
#include "settings/Settings.h"
#include "settings/StoreDamaged.h"

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

struct BackupFinisher { void operator()(sqlite3_backup *backup) const { sqlite3_backup_finish(backup); } };
using Backup = std::unique_ptr<sqlite3_backup, BackupFinisher>;

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

// A failure of the file at path; a lock that another program holds is
// StoreBusy, a damaged page StoreDamaged.
[[noreturn]] void throwFailure(const QString &description, int code, const QString &reason = QString())
{
    if (Sqlite::isBusy(code))
        throw StoreBusy(description);
    if (Sqlite::isDamaged(code))
        throw StoreDamaged(description, reason);
    throw Failure(description);
}

int openFlags(StoreFile::Access access)
{
    const int flags = access == StoreFile::Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    return flags | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
}

// SQLite would create a missing file even read-only (its -shm), or report a vague error.
const QString &existingFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        throw Failure(StoreFile::tr("There is no notes store at %1.").arg(path));
    return path;
}

} // namespace

StoreFile::StoreFile(QString path, Access access)
    : m_path(std::move(path)),
      m_db(uriOf(existingFile(m_path), access), openFlags(access),
           [path = m_path](const QString &what, const QString &reason, int code) {
               throwFailure(tr("%1 the notes store %2: %3.").arg(what, path, reason), code, reason);
           },
           tr("Cannot open"))
{
    m_db.setBusyTimeout(BusyTimeoutMs);
}

StoreFile::~StoreFile() = default;
StoreFile::StoreFile(StoreFile &&) noexcept = default;
StoreFile &StoreFile::operator=(StoreFile &&) noexcept = default;

bool StoreFile::hasSettingsTable()
{
    return m_db.hasSettingsTable(tr("Cannot read"));
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
    const QStringList damage = m_db.damage(tr("Cannot check"));
    if (!damage.isEmpty()) {
        const QString finding = damage.join(QStringLiteral("; "));
        throw StoreDamaged(tr("The file %1 is damaged: %2").arg(m_path, finding), finding);
    }
}

bool StoreFile::hasOnlyOwnSchema()
{
    Sqlite::Statement count(m_db,
                            "SELECT count(*) FROM sqlite_schema WHERE NOT ((type = 'table' AND name = 'settings') "
                            "OR (type = 'index' AND name = 'sqlite_autoindex_settings_1'))",
                            tr("Cannot read"));
    count.stepToRow(tr("Cannot read"));
    return count.integer(0) == 0;
}

int StoreFile::noteCount()
{
    Sqlite::Statement count = inPlannerSection("SELECT count(*) FROM settings WHERE application = :application "
                                               "AND section = :section AND instr(key, :infix) > 0 AND value <> ''");
    count.bind(":infix", Settings::NoteTextInfix);
    count.stepToRow(tr("Cannot read"));
    return int(count.integer(0));
}

int StoreFile::pageSize()
{
    Sqlite::Statement pragma(m_db, "PRAGMA page_size", tr("Cannot read"));
    pragma.stepToRow(tr("Cannot read"));
    return int(pragma.integer(0));
}

void StoreFile::readValues(const std::function<void(const QString &, const QString &)> &visit)
{
    Sqlite::Statement select = inPlannerSection("SELECT key, value FROM settings WHERE application = :application "
                                                "AND section = :section ORDER BY key");
    while (select.step(tr("Cannot read")))
        visit(select.text(0), select.text(1));
}

Sqlite::Statement StoreFile::inPlannerSection(const char *sql)
{
    Sqlite::Statement statement(m_db, sql, tr("Cannot read"));
    statement.bind(":application", Settings::Application);
    statement.bind(":section", Settings::Section);
    return statement;
}

void StoreFile::copyInto(StoreFile &target, const Progress &progress)
{
    const auto failCopy = [&](int code) {
        target.m_db.fail(code, [&](const QString &, const QString &reason, int) {
            throwFailure(tr("Cannot copy the notes store %1 to %2: %3.").arg(m_path, target.m_path, reason),
                         code);
        });
    };
    Backup backup(sqlite3_backup_init(target.m_db.handle(), "main", m_db.handle(), "main"));
    if (!backup)
        failCopy(sqlite3_errcode(target.m_db.handle()));

    int pagesPerStep = PagesPerStep;
    int lastRemaining = INT_MAX;
    QElapsedTimer locked;
    for (;;) {
        const int code = sqlite3_backup_step(backup.get(), pagesPerStep);
        if (code == SQLITE_DONE)
            break;
        if (Sqlite::isBusy(code)) {
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
        // The pages pass through once: SQLite's default cache of 2 MiB would
        // only add to the memory of the planner, which copies after its start.
        copy.execute("PRAGMA cache_size = -256");
        copyInto(copy, progress);
        copy.execute("PRAGMA journal_mode = DELETE");
    }
    part.commit();
}

void StoreFile::copyRowsInto(StoreFile &target)
{
    Sqlite::Statement select(m_db, "SELECT application, section, key, value FROM settings", tr("Cannot read"));
    Sqlite::Statement insert(target.m_db, "INSERT INTO settings(application, section, key, value) "
                                          "VALUES (?1, ?2, ?3, ?4)", tr("Cannot write"));
    target.execute("BEGIN IMMEDIATE");
    auto rollback = qScopeGuard([&target] { target.m_db.executeIgnoringFailure("ROLLBACK"); });
    while (select.step(tr("Cannot read"))) {
        for (int column = 0; column < 4; ++column)
            insert.bind(column + 1, select.text(column));
        insert.run(tr("Cannot write"));
        insert.reset();
    }
    target.execute("COMMIT");
    rollback.dismiss();
}

void StoreFile::execute(const char *sql)
{
    m_db.execute(sql, tr("Cannot use"));
}
