// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace Sqlite {
class Database;
class Statement;
} // namespace Sqlite

// The per-user store of text values addressed by (application, section, key):
// one SQLite database in WAL mode with full sync, so that a value survives a
// crash or a power loss once save() has returned. It is opened on first use and
// again after a failed open; a file that is not a store of ours is never
// changed, truncated or replaced. Every failure is a Failure naming the file.
class SettingsStore
{
    Q_DECLARE_TR_FUNCTIONS(SettingsStore)

public:
    explicit SettingsStore(QString path);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    void save(const QString &application, const QString &section, const QString &key, const QString &value);
    std::optional<QString> read(const QString &application, const QString &section, const QString &key);
    // Every key of (application, section) with its value, in key order.
    QList<std::pair<QString, QString>> readAll(const QString &application, const QString &section);

    // Runs work in one write transaction (BEGIN IMMEDIATE): no other program
    // writes between what work reads and what it saves. Committed, durably,
    // when work returns; rolled back when it throws.
    void inTransaction(const std::function<void()> &work);

    const QString &path() const { return m_path; }

    // The default location: $XDG_DATA_HOME/Quillmere/settings.sqlite3.
    static QString defaultPath();

    // Called after every successful save with its key and value (tests count writes).
    using WriteObserver = std::function<void(const QString &key, const QString &value)>;
    void setWriteObserver(WriteObserver observer) { m_writeObserver = std::move(observer); }

    // Whether another program (or copy of the planner) changed the store since
    // this one opened it or last asked; false before it was opened. Reads do
    // not count: a change between a read and the next question is still seen.
    bool changedElsewhere();

    // Whether opening the store reads the whole file for damage first (the
    // default). The check is slow for a large store, so the planner's start-up
    // runs it once a day and turns it off when the day's check already passed.
    // It also turns itself off once it has passed.
    void setWholeFileCheck(bool enabled) { m_wholeFileCheck = enabled; }

    // The statement that makes the store's one table.
    static const char *const CreateTableSql;

    // How long a write waits for another copy of the planner to finish its own.
    static constexpr int BusyTimeoutMs = 5000;

private:
    static int waitForOtherCopy(void *context, int attempt);
    void ensureOpen();
    void close();
    void open();
    void createFileIfMissing();
    bool isEmptyDatabase();
    void createSchema();
    void checkSchema();
    void checkIntegrity();
    qint64 dataVersion();
    Sqlite::Statement prepare(const char *sql);

    QString m_path;
    std::unique_ptr<Sqlite::Database> m_db;
    std::unique_ptr<Sqlite::Statement> m_upsert;
    std::unique_ptr<Sqlite::Statement> m_select;
    std::unique_ptr<Sqlite::Statement> m_dataVersion;
    qint64 m_seenVersion = 0;
    bool m_wholeFileCheck = true;
    WriteObserver m_writeObserver;
};
