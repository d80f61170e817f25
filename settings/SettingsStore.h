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
    // Takes key out of the store (the notes tool moving a note to another key).
    void remove(const QString &application, const QString &section, const QString &key);
    // Every key of (application, section) with its value, in key order.
    QList<std::pair<QString, QString>> readAll(const QString &application, const QString &section);

    // Runs work in one write transaction (BEGIN IMMEDIATE): no other program
    // writes between what work reads and what it saves. Committed, durably,
    // when work returns; rolled back when it throws.
    void inTransaction(const std::function<void()> &work);

    const QString &path() const { return m_path; }

    // Reads from here to endReadBatch() share one look at the file, so that
    // the start-up's hundreds of reads lock it once rather than each; a write
    // ends the look first and is stored at once as ever, and the reads after
    // it take a new one.
    void beginReadBatch() { m_readBatch = true; }
    void endReadBatch();

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
    // default, which the tools keep). It turns itself off once it has passed.
    // The check is slow for a large store, so the planner turns it off and
    // checks the file after its window shows, holding the file meanwhile.
    void setWholeFileCheck(bool enabled) { m_wholeFileCheck = enabled; }

    // Until the whole file has been checked, nothing written reaches the store
    // file itself: SQLite keeps it in the -wal file beside, which it reads
    // with the file, and copies it over only after fileCheckPassed(). A store
    // found damaged meanwhile is left as it was.
    void holdFileUntilChecked();
    void fileCheckPassed();

    // Refuses every later read and write with a message that names the store
    // and says what to do; finding is what SQLite found. The file, and what
    // its -wal file holds, stay as they are. SQLite coming across a damaged
    // page in a read or write does the same. False when already refused.
    bool refuseAsDamaged(const QString &finding);
    // The message every call fails with once the store is refused; empty before.
    const QString &refusal() const { return m_refusal; }

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
    bool walHoldsWrites() const;
    void leaveReadBatch();
    template<typename Call>
    auto unlessDamaged(Call &&call);
    qint64 dataVersion();
    Sqlite::Statement prepare(const char *sql);

    QString m_path;
    std::unique_ptr<Sqlite::Database> m_db;
    std::unique_ptr<Sqlite::Statement> m_upsert;
    std::unique_ptr<Sqlite::Statement> m_select;
    std::unique_ptr<Sqlite::Statement> m_dataVersion;
    qint64 m_seenVersion = 0;
    bool m_wholeFileCheck = true;
    bool m_holdFile = false;
    bool m_readBatch = false;     // reads are to share a read transaction
    bool m_inReadBatch = false;   // the connection is in that transaction
    QString m_refusal; // why the store is refused; empty while it is used
    WriteObserver m_writeObserver;
};
