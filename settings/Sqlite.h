// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Failure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

// The one place that speaks SQLite's C API: a connection and its statements,
// each closing what it holds on every path, and one check of a result code
// that turns every failure into a Failure.
namespace Sqlite {

// Throws the failure of `what` (e.g. "Cannot read") for a result code and
// SQLite's reason for it; each owner of a file words its own messages.
using Thrower = std::function<void(const QString &what, const QString &reason, int code)>;

// Whether a result code says that another connection holds the file locked.
bool isBusy(int code);
// Whether a result code says that SQLite came across a damaged page.
bool isDamaged(int code);

// A connection to one database file, opened in the constructor (a failed
// open throws and leaves nothing open) and closed in the destructor.
class Database
{
public:
    // Failures read "what: reason".
    Database(const QByteArray &fileName, int openFlags);
    Database(const QByteArray &fileName, int openFlags, Thrower thrower, const QString &whenOpenFails);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;
    Database(Database &&) noexcept;
    Database &operator=(Database &&) noexcept;

    sqlite3 *handle() const;
    // How long a statement waits for another connection's lock before it fails as busy.
    void setBusyTimeout(int ms);
    // Whether closing the last connection copies what the -wal file holds into
    // the database file (SQLite's default) or leaves both files as they are.
    void setCheckpointOnClose(bool enabled);

    // Throws the failure of `what` unless code is `expected`.
    void check(int code, const QString &what, int expected = 0) const;
    // Throws the failure of code as thrower words it.
    [[noreturn]] void fail(int code, const Thrower &thrower) const;
    // Runs statements that return no rows of interest.
    void execute(const char *sql, const QString &what);
    // Runs sql and ignores its failure: a ROLLBACK after a failure, a mode that is only a wish.
    void executeIgnoringFailure(const char *sql);

    // Whether the file holds the store's table settings(application, section,
    // key, value) keyed by the first three; fails for a file that is no database.
    bool hasSettingsTable(const QString &what);
    // What SQLite's whole-file check finds wrong, at most a few lines; empty
    // for a sound file.
    QStringList damage(const QString &what);

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;

    friend class Statement;
};

// A prepared statement of a Database, which must outlive it.
class Statement
{
public:
    enum class Use { Once, Persistent };

    Statement(const Database &db, const char *sql, const QString &whenPrepareFails, Use use = Use::Once);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    Statement(Statement &&) noexcept;
    Statement &operator=(Statement &&) noexcept;

    void bind(int index, const QString &text);
    void bind(const char *name, const QString &text);
    // Steps once: true for a row, false when done; throws the failure of `what` otherwise.
    bool step(const QString &what);
    // Steps once and throws the failure of `what` unless that finished the statement.
    void run(const QString &what);
    // Steps to the first row and throws the failure of `what` when there is none.
    void stepToRow(const QString &what);
    // Makes the statement ready to run again; the values bound stay bound.
    void reset();

    // A column of the current row: text exactly as stored (also with NUL characters), or a number.
    QString text(int column) const;
    qint64 integer(int column) const;

private:
    const Database::Connection *m_connection;
    sqlite3_stmt *m_statement = nullptr;
};

} // namespace Sqlite
