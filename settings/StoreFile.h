// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Failure.h"
#include "settings/Sqlite.h"

#include <QCoreApplication>

#include <QString>
#include <functional>

// The failure of a store that another program holds locked: busy, not damaged.
class StoreBusy : public Failure
{
public:
    using Failure::Failure;
};

// A store file opened with SQLite directly, beside the planner's own
// SettingsStore: to read it without writing, to check it, and to copy it with
// SQLite's online backup, which takes a consistent snapshot even while a
// running planner writes to the file. Every failure is a Failure naming the file.
class StoreFile
{
    Q_DECLARE_TR_FUNCTIONS(StoreFile)

public:
    enum class Access { ReadOnly, ReadWrite };

    // Opens an existing file; never creates one. Read-only access never
    // writes to the file or beside it; in a folder that cannot be written it
    // reads the file as it stands (a copy, which has no -wal file).
    StoreFile(QString path, Access access);
    ~StoreFile();
    StoreFile(StoreFile &&) noexcept;
    StoreFile &operator=(StoreFile &&) noexcept;

    const QString &path() const { return m_path; }

    // Whether the file holds the table settings(application, section, key,
    // value); fails for a file SQLite cannot read as a database.
    bool hasSettingsTable();
    // Fails unless hasSettingsTable().
    void checkTable();
    // Fails unless SQLite's integrity check finds nothing wrong; a damaged
    // file fails with StoreDamaged, as does any read that comes across a damaged page.
    void checkIntegrity();
    // Whether the file holds nothing but the table settings and its key index.
    bool hasOnlyOwnSchema();
    int pageSize();
    // How many notes with a text the planner's section holds.
    int noteCount();

    // Calls visit with every key and value of the planner's section, in key order.
    void readValues(const std::function<void(const QString &key, const QString &value)> &visit);

    // Called during a copy with the pages copied so far and their total.
    using Progress = std::function<void(int copied, int total)>;
    // Replaces the whole content of target with a snapshot of this file, in
    // one write transaction of target. Both must have the same page size when
    // target is in WAL mode.
    void copyInto(StoreFile &target, const Progress &progress = {});
    // Writes a snapshot of this file to path, which becomes a file of mode 0600
    // that appears complete or not at all (an existing one is replaced). The
    // copy uses a rollback journal, so that it can be read in any folder.
    void copyToNewFile(const QString &path, const Progress &progress = {});
    // Adds every row of this file's table settings to that of target, in one
    // transaction of target.
    void copyRowsInto(StoreFile &target);

    // Runs a statement that returns no rows of interest (a PRAGMA, VACUUM).
    void execute(const char *sql);

    static constexpr int BusyTimeoutMs = 2000;

private:
    // A statement whose parameters :application and :section name the planner's section.
    Sqlite::Statement inPlannerSection(const char *sql);

    QString m_path;
    Sqlite::Database m_db;
};
