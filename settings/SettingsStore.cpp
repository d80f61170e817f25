#include "settings/SettingsStore.h"

#include "platform/Failure.h"
#include "platform/Today.h"
#include "settings/SafetyCopies.h"
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

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

const char *const SettingsStore::CreateTableSql =
    "CREATE TABLE IF NOT EXISTS settings("
    "application TEXT NOT NULL, section TEXT NOT NULL, key TEXT NOT NULL, value TEXT NOT NULL, "
    "PRIMARY KEY (application, section, key))";

void SettingsStore::DatabaseCloser::operator()(sqlite3 *db) const
{
    sqlite3_close_v2(db);
}

void SettingsStore::StatementFinalizer::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

SettingsStore::SettingsStore(QString path)
    : m_path(std::move(path))
{
}

SettingsStore::~SettingsStore()
{
    m_upsert.reset();
    m_select.reset();
    m_dataVersion.reset();
}

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/Quillmere/settings.sqlite3");
}

void SettingsStore::save(const QString &application, const QString &section, const QString &key,
                         const QString &value)
{
    ensureOpen();
    sqlite3_stmt *statement = m_upsert.get();
    auto reset = qScopeGuard([statement] {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    });
    bindText(statement, 1, application);
    bindText(statement, 2, section);
    bindText(statement, 3, key);
    bindText(statement, 4, value);
    const int code = sqlite3_step(statement);
    if (code != SQLITE_DONE) {
        // A connection that could not write may never write again (SQLite keeps
        // a file that was read-only when it was opened read-only), so the next
        // call opens the store afresh and finds it writable once it is.
        const Failure failure = failureOf(tr("Cannot save \"%1\" in").arg(key.left(80)), code);
        reset.dismiss();
        close();
        throw failure;
    }
    if (m_writeObserver)
        m_writeObserver(key, value);
}

std::optional<QString> SettingsStore::read(const QString &application, const QString &section,
                                           const QString &key)
{
    ensureOpen();
    sqlite3_stmt *statement = m_select.get();
    const auto reset = qScopeGuard([statement] {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    });
    bindText(statement, 1, application);
    bindText(statement, 2, section);
    bindText(statement, 3, key);
    const int code = sqlite3_step(statement);
    if (code == SQLITE_DONE) {
        m_seenVersion = dataVersion();
        return std::nullopt;
    }
    if (code != SQLITE_ROW)
        fail(tr("Cannot read \"%1\" from").arg(key.left(80)), code);
    m_seenVersion = dataVersion();
    const auto *text = static_cast<const char *>(sqlite3_column_blob(statement, 0));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, 0));
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
    sqlite3_stmt *statement = m_dataVersion.get();
    const auto reset = qScopeGuard([statement] { sqlite3_reset(statement); });
    const int code = sqlite3_step(statement);
    if (code != SQLITE_ROW)
        fail(tr("Cannot read"), code);
    return sqlite3_column_int64(statement, 0);
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
    m_db.reset();
}

void SettingsStore::open()
{
    createFileIfMissing();
    StoreFolder::checkPrivate(m_path);
    sqlite3 *raw = nullptr;
    const int code = sqlite3_open_v2(QFile::encodeName(m_path).constData(), &raw,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(raw); // closed on every path, also after a failed open
    if (code != SQLITE_OK)
        fail(tr("Cannot open"), code);
    sqlite3_extended_result_codes(m_db.get(), 1);
    sqlite3_busy_handler(m_db.get(), &SettingsStore::waitForOtherCopy, nullptr);

    if (isEmptyDatabase())
        createSchema();
    else
        checkSchema();
    execute("PRAGMA synchronous = FULL");
    m_upsert = prepare(UpsertSql);
    m_select = prepare(SelectSql);
    m_dataVersion = prepare("PRAGMA data_version");
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
    Statement count = prepare("SELECT count(*) FROM sqlite_schema");
    const int code = sqlite3_step(count.get());
    if (code != SQLITE_ROW)
        fail(tr("Cannot read"), code);
    return sqlite3_column_int64(count.get(), 0) == 0;
}

void SettingsStore::createSchema()
{
    execute("PRAGMA journal_mode = WAL");
    execute("BEGIN IMMEDIATE");
    try {
        execute(CreateTableSql);
        execute("COMMIT");
    } catch (...) {
        sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

// An existing file is used only when it holds our table; otherwise it is left
// exactly as it is and the store reports what it found.
void SettingsStore::checkSchema()
{
    Statement columns = prepare("SELECT name, pk FROM pragma_table_info('settings') ORDER BY cid");
    QStringList names;
    QStringList keyColumns;
    int code;
    while ((code = sqlite3_step(columns.get())) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(columns.get(), 0)));
        names << name;
        if (sqlite3_column_int(columns.get(), 1) > 0)
            keyColumns << name;
    }
    if (code != SQLITE_DONE)
        fail(tr("Cannot read"), code);
    const QStringList expected{QStringLiteral("application"), QStringLiteral("section"),
                               QStringLiteral("key"), QStringLiteral("value")};
    if (names != expected || keyColumns != expected.mid(0, 3)) {
        throw Failure(tr("The file %1 is not a notes store of this program: it has no table "
                                     "settings(application, section, key, value). The file was left unchanged.")
                          .arg(m_path));
    }
    if (!QFileInfo::exists(SafetyCopies::copyPath(m_path, Today::date())))
        checkIntegrity();
    // A store made elsewhere may use a rollback journal; WAL lets a second copy read while one writes.
    sqlite3_exec(m_db.get(), "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
}

// A damaged page anywhere in the file is found before anything is written:
// SQLite would otherwise read and write around it, and every write could
// spread the damage. The check reads the whole file, so it runs once a day:
// the day's safety copy is made only of a store that passed it, and while
// that copy exists the check is not repeated. A page damaged later still
// fails every read and write that touches it, with a message naming the file.
void SettingsStore::checkIntegrity()
{
    Statement check = prepare("PRAGMA quick_check(1)");
    const int code = sqlite3_step(check.get());
    if (code != SQLITE_ROW)
        fail(tr("Cannot read"), code);
    const QString verdict = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check.get(), 0)));
    if (verdict != QLatin1String("ok")) {
        throw Failure(tr("The notes store %1 is damaged: %2. The file was left unchanged.")
                          .arg(m_path, verdict.left(200)));
    }
}

void SettingsStore::execute(const char *sql)
{
    const int code = sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(tr("Cannot use"), code);
}

SettingsStore::Statement SettingsStore::prepare(const char *sql)
{
    sqlite3_stmt *raw = nullptr;
    const int code = sqlite3_prepare_v3(m_db.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
    Statement statement(raw);
    if (code != SQLITE_OK)
        fail(tr("Cannot read"), code);
    return statement;
}

Failure SettingsStore::failureOf(const QString &what, int code) const
{
    QString reason = QString::fromUtf8(sqlite3_errstr(code));
    if (m_db && sqlite3_errcode(m_db.get()) == code)
        reason = QString::fromUtf8(sqlite3_errmsg(m_db.get()));
    return Failure(tr("%1 the notes store %2: %3.").arg(what, m_path, reason));
}

void SettingsStore::fail(const QString &what, int code)
{
    throw failureOf(what, code);
}
