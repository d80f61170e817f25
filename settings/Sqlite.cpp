// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Sqlite.h"

#include <sqlite3.h>
#include <utility>

namespace Sqlite {

bool isBusy(int code)
{
    return (code & 0xff) == SQLITE_BUSY || (code & 0xff) == SQLITE_LOCKED;
}

bool isDamaged(int code)
{
    return (code & 0xff) == SQLITE_CORRUPT;
}

struct Database::Connection
{
    sqlite3 *handle = nullptr;
    Thrower thrower;

    ~Connection() { sqlite3_close_v2(handle); }

    void check(int code, const QString &what, int expected) const
    {
        if (code != expected)
            fail(code, what, thrower);
    }

    [[noreturn]] void fail(int code, const QString &what, const Thrower &thrower) const
    {
        // SQLite's message says more (which file, which constraint) when it is about this code.
        QString reason = QString::fromUtf8(sqlite3_errstr(code));
        if (handle && sqlite3_errcode(handle) == code)
            reason = QString::fromUtf8(sqlite3_errmsg(handle));
        if (thrower)
            thrower(what, reason, code);
        throw Failure(what + QStringLiteral(": ") + reason);
    }
};

Database::Database(const QByteArray &fileName, int openFlags)
    : Database(fileName, openFlags, {}, QStringLiteral("Cannot open %1").arg(QString::fromUtf8(fileName)))
{
}

Database::Database(const QByteArray &fileName, int openFlags, Thrower thrower, const QString &whenOpenFails)
    : m_connection(std::make_unique<Connection>())
{
    m_connection->thrower = std::move(thrower);
    // The handle is kept, and so closed, also after a failed open.
    const int code = sqlite3_open_v2(fileName.constData(), &m_connection->handle, openFlags, nullptr);
    m_connection->check(code, whenOpenFails, SQLITE_OK);
    sqlite3_extended_result_codes(m_connection->handle, 1);
}

Database::~Database() = default;
Database::Database(Database &&) noexcept = default;
Database &Database::operator=(Database &&) noexcept = default;

sqlite3 *Database::handle() const
{
    return m_connection->handle;
}

void Database::setBusyTimeout(int ms)
{
    sqlite3_busy_timeout(handle(), ms);
}

void Database::setCheckpointOnClose(bool enabled)
{
    sqlite3_db_config(handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, enabled ? 0 : 1, nullptr);
}

void Database::check(int code, const QString &what, int expected) const
{
    m_connection->check(code, what, expected);
}

void Database::fail(int code, const Thrower &thrower) const
{
    m_connection->fail(code, QString(), thrower);
}

void Database::execute(const char *sql, const QString &what)
{
    check(sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr), what);
}

void Database::executeIgnoringFailure(const char *sql)
{
    sqlite3_exec(handle(), sql, nullptr, nullptr, nullptr);
}

bool Database::hasSettingsTable(const QString &what)
{
    Statement columns(*this, "SELECT name, pk FROM pragma_table_info('settings') ORDER BY cid", what);
    QStringList names;
    QStringList keyColumns;
    while (columns.step(what)) {
        names << columns.text(0);
        if (columns.integer(1) > 0)
            keyColumns << names.constLast();
    }
    const QStringList expected{QStringLiteral("application"), QStringLiteral("section"), QStringLiteral("key"),
                               QStringLiteral("value")};
    return names == expected && keyColumns == expected.mid(0, 3);
}

// The full check rather than the quick one: it also finds an index that no
// longer matches its table, which would hide or double a value.
QStringList Database::damage(const QString &what)
{
    Statement check(*this, "PRAGMA integrity_check(3)", what);
    QStringList found;
    while (check.step(what)) {
        // A finding may span lines, headed by the name of the database ("*** in database main ***").
        for (const QString &line : check.text(0).split(u'\n', Qt::SkipEmptyParts)) {
            if (!line.startsWith(QLatin1String("*** in database ")))
                found << line;
        }
    }
    if (found == QStringList{QStringLiteral("ok")})
        return {};
    return found;
}

Statement::Statement(const Database &db, const char *sql, const QString &whenPrepareFails, Use use)
    : m_connection(db.m_connection.get())
{
    const unsigned flags = use == Use::Persistent ? SQLITE_PREPARE_PERSISTENT : 0;
    const int code = sqlite3_prepare_v3(m_connection->handle, sql, -1, flags, &m_statement, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        m_connection->check(code, whenPrepareFails, SQLITE_OK);
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_statement);
}

Statement::Statement(Statement &&other) noexcept
    : m_connection(other.m_connection), m_statement(std::exchange(other.m_statement, nullptr))
{
}

Statement &Statement::operator=(Statement &&other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(m_statement);
        m_connection = other.m_connection;
        m_statement = std::exchange(other.m_statement, nullptr);
    }
    return *this;
}

void Statement::bind(int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void Statement::bind(const char *name, const QString &text)
{
    bind(sqlite3_bind_parameter_index(m_statement, name), text);
}

bool Statement::step(const QString &what)
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    m_connection->check(code, what, SQLITE_DONE);
    return false;
}

void Statement::run(const QString &what)
{
    m_connection->check(sqlite3_step(m_statement), what, SQLITE_DONE);
}

void Statement::stepToRow(const QString &what)
{
    m_connection->check(sqlite3_step(m_statement), what, SQLITE_ROW);
}

void Statement::reset()
{
    sqlite3_reset(m_statement);
}

QString Statement::text(int column) const
{
    const auto *text = static_cast<const char *>(sqlite3_column_blob(m_statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_statement, column));
}

qint64 Statement::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

} // namespace Sqlite
