#include "settings/StoreFile.h"

#include "platform/Failure.h"
#include "settings/Settings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

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

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

void syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd); // the new name survives a power loss too
        ::close(fd);
    }
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
    const int code = sqlite3_open_v2(QFile::encodeName(m_path).constData(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
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
        throw Failure(tr("Cannot copy the notes store %1 to %2: %3.").arg(m_path, target.m_path, reason));
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
        if ((code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED) {
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
    // Written under a temporary name beside path and renamed once complete, so
    // that a copy cut short never passes for a good one.
    QByteArray temporary = QFile::encodeName(path) + ".part-XXXXXX";
    const int fd = ::mkstemp(temporary.data()); // mode 0600 whatever the umask
    if (fd < 0)
        throw Failure(tr("Cannot create the copy %1: %2").arg(path, systemError()));
    ::close(fd);
    auto removeTemporary = qScopeGuard([&temporary] {
        ::unlink(temporary.constData());
        ::unlink((temporary + "-journal").constData());
    });
    {
        StoreFile copy(QFile::decodeName(temporary), Access::ReadWrite);
        copy.execute("PRAGMA synchronous = FULL");
        copyInto(copy, progress);
    }
    if (::rename(temporary.constData(), QFile::encodeName(path).constData()) != 0)
        throw Failure(tr("Cannot create the copy %1: %2").arg(path, systemError()));
    removeTemporary.dismiss();
    syncFolderOf(path);
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
    throw Failure(tr("%1 the notes store %2: %3.").arg(what, m_path, reason));
}
