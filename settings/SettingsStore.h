#pragma once

#include <QCoreApplication>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class Failure;
struct sqlite3;
struct sqlite3_stmt;

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

    const QString &path() const { return m_path; }

    // The default location: $XDG_DATA_HOME/Quillmere/settings.sqlite3.
    static QString defaultPath();

    // Called after every successful save with its key and value (tests count writes).
    using WriteObserver = std::function<void(const QString &key, const QString &value)>;
    void setWriteObserver(WriteObserver observer) { m_writeObserver = std::move(observer); }

    // Whether another program (or copy of the planner) changed the store since
    // this one last read a value from it or asked; false before it was opened.
    bool changedElsewhere();

    // The statement that makes the store's one table.
    static const char *const CreateTableSql;

    // How long a write waits for another copy of the planner to finish its own.
    static constexpr int BusyTimeoutMs = 5000;

private:
    struct DatabaseCloser { void operator()(sqlite3 *db) const; };
    struct StatementFinalizer { void operator()(sqlite3_stmt *statement) const; };
    using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
    using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

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
    void execute(const char *sql);
    Statement prepare(const char *sql);
    Failure failureOf(const QString &what, int code) const;
    [[noreturn]] void fail(const QString &what, int code);

    QString m_path;
    Database m_db;
    Statement m_upsert;
    Statement m_select;
    Statement m_dataVersion;
    qint64 m_seenVersion = 0;
    WriteObserver m_writeObserver;
};
