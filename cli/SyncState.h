// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace Sqlite { class Database; }

// What the last passes of sync agreed with the server, kept in its own SQLite
// file beside the store (never in the planner's settings table): for each note
// key the entry's address (href), its ETag and a hash of the value both sides
// last had; the entries of other programs already added to a note; and the
// collection's sync token and the last pass. Every write is durable when it
// returns, so a pass killed at any point leaves a state the next pass can use.
class SyncState
{
public:
    struct Entry
    {
        QString href;
        QString etag;
        QString hash;
    };

    // Opens path, creating it (mode 0600) when missing.
    explicit SyncState(const QString &path);
    ~SyncState();
    SyncState(const SyncState &) = delete;
    SyncState &operator=(const SyncState &) = delete;

    static QString pathBeside(const QString &storePath); // .../sync-state.sqlite3

    QHash<QString, Entry> entries();          // by key
    std::optional<Entry> entry(const QString &key);
    void setEntry(const QString &key, const Entry &entry);
    QHash<QString, QString> absorbed();       // href -> ETag
    void setAbsorbed(const QString &href, const QString &etag);
    QString value(const QString &name);       // "sync-token", "last-pass" …
    void setValue(const QString &name, const QString &value);

    // The hash that entries keep of a note's text and colour.
    static QString hashOf(const QString &text, const QString &colorText);

private:
    void write(const char *sql, const QStringList &values);

    std::unique_ptr<Sqlite::Database> m_db;
};
