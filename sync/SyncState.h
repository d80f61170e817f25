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
// last had (the base of the next merge), and the notes sent since whose fate
// no pass learnt; the entries of other programs already
// brought into a note; and the collection's sync token and the last pass.
// Writes are grouped in transactions of a Batch; whatever a killed pass had
// not yet committed is found again by the next pass, which converges.
class SyncState
{
public:
    // Version marks an entry keeps: enough for every write between two passes.
    static constexpr qsizetype KeptVersions = 32;

    struct Entry
    {
        QString href = {};
        QString etag = {};
        // The note both sides last agreed on; nothing when that is not known
        // (a state written by an older version).
        std::optional<Note> base = {};
        // The store was restored from a copy since: the note here is no
        // edit of the base, and is merged with the server's as a text of its own.
        bool restored = false;
        // What older versions kept instead of the base: a hash of it.
        QString hash = {};
        // The version marks of the entry the base was agreed with, newest
        // first (see NoteJournal).
        QStringList versions = {};
        // A note on its way up: written before it is sent, so that a pass
        // killed before it learnt the outcome finds out from the entry's
        // versions whether the server took it.
        std::optional<Note> pending = {};
        QString pendingVersion = {};
        // Notes sent before the pending one whose fate no pass learnt (each
        // pass killed, or the server took it only after the next pass
        // listed): by version mark. The server's entry may come from any.
        QHash<QString, Note> earlierSent = {};
        // The entry's UID where it is not the one our entries of the key get
        // (made by an earlier version, or by another program): kept in every write.
        QString uid = {};

        // Whether the two sides ever agreed on this note.
        bool agreed() const { return base || !hash.isEmpty(); }
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
    // Records note as on its way up at href with the version mark version.
    void setPending(const QString &key, const QString &href, const Note &note, const QString &version);
    QHash<QString, QString> absorbed();       // href -> ETag
    void setAbsorbed(const QString &href, const QString &etag);
    // What each entry of another program last brought into a note, so that
    // a later edit there changes that text instead of adding another copy.
    struct Brought
    {
        QString key;
        QString text;
    };
    QHash<QString, Brought> brought();        // by href
    void setBrought(const QString &href, const Brought &brought);

    // The note of from is now kept under to: its entry goes with it, unless
    // to has one already; then from's entry is forgotten, and the next pass
    // lists the whole collection, finds it again and brings it together
    // with to's.
    void moveKey(const QString &from, const QString &to);

    QString value(const QString &name);       // "sync-token", "last-pass" …
    void setValue(const QString &name, const QString &value);

    // The hash that older versions kept of a note's text and colour.
    static QString hashOf(const QString &text, const QString &color);

    // Marks every entry as restored: the next pass merges each note that
    // differs from the server's as changed on both sides.
    void markRestored();

    // Makes what the current batch wrote durable now.
    void commit();

    // Groups the writes made while it lives into transactions of a few
    // hundred, committed when it ends; lost when it ends by an exception
    // that it was not told to keep() for, as when the pass is killed.
    class Batch
    {
    public:
        explicit Batch(SyncState &state);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

        // What was written is kept also when a failure ends the batch.
        void keep();

    private:
        SyncState &m_state;
        int m_exceptions;
        bool m_kept = false;
    };

private:
    void write(const char *sql, const QStringList &values);
    void addMissingColumns();
    void countBatchWrite();

    std::unique_ptr<Sqlite::Database> m_db;
    bool m_batching = false;
    int m_batchWrites = 0;
};
