// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/Note.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>

namespace Sqlite { class Database; }

// What the last passes of sync agreed with the server, kept in its own SQLite
// file beside the store (never in the planner's settings table): for each note
// key the entry's address (href), its ETag and the text and colour both sides
// last had (the base of the next merge); the entries of other programs already
// brought into a note; and the collection's sync token and the last pass.
// Writes are grouped in transactions of a Batch; whatever a killed pass had
// not yet committed is found again by the next pass, which converges.
class SyncState
{
public:
    struct Entry
    {
        QString href;
        QString etag;
        // The note both sides last agreed on; nothing when that is not known
        // (a state written by an older version).
        std::optional<Note> base;
        // The store was restored from a copy since: the note here is no
        // edit of the base, and is merged with the server's as a text of its own.
        bool restored = false;
        // What older versions kept instead of the base: a hash of it.
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

    // The hash that older versions kept of a note's text and colour.
    static QString hashOf(const QString &text, const QString &color);

    // Marks every entry as restored: the next pass merges each note that
    // differs from the server's as changed on both sides.
    void markRestored();

    // Groups the writes made while it lives into transactions of a few
    // hundred, committed when it ends (also when a failure ends the pass).
    class Batch
    {
    public:
        explicit Batch(SyncState &state);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        SyncState &m_state;
    };

private:
    void write(const char *sql, const QStringList &values);
    void addMissingColumns();

    std::unique_ptr<Sqlite::Database> m_db;
    bool m_batching = false;
    int m_batchWrites = 0;
};
