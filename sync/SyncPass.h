// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/DayKeys.h"
#include "notes/Note.h"
#include "notes/NoteJournal.h"
#include "sync/Collection.h"
#include "sync/SyncState.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>

class NoteStore;

// One two-way pass between the store and a collection, merged against the
// note both sides last agreed on (kept in SyncState), so that nothing typed on
// either side is lost:
// - changed here only: uploaded over the entry's ETag (or only where none is);
// - changed on the server only: written to the store;
// - changed on both: merged (TextMerge), stored and uploaded;
// - restored from a copy here, or typed on two machines before they met:
//   merged as two texts of their own, never one put over the other;
// - removed on the server: uploaded again, never removed here;
// - an entry that is no readable journal entry of ours, at a note's address:
//   reported and left as it is, on both sides;
// - an entry of another program, in a calendar of the notes' own only (see
//   Calendar): kept as the note of its day where this has none on the server
//   yet (with our key added), else its text added below the note of its day,
//   and on a later edit there that text changed in place;
// - the note of a day is one entry whatever the language of the machine that
//   wrote it; each machine keeps it under its own key for that day (DayKeys),
//   and entries of one day under keys of several languages are brought
//   together into one.
// A store write replaces a note only while it still holds what the pass read,
// so a keystroke of the planner meanwhile is never lost: that note waits for
// the next pass. The sync token moves on only when every change it covers
// was taken.
class SyncPass
{
public:
    struct Summary
    {
        int uploaded = 0;
        int downloaded = 0;
        int merged = 0;
        int restored = 0;    // uploaded again after a removal on the server
        int added = 0;       // entries of other programs added to a note
        QStringList changes; // one line per change, for --dry-run
        QStringList problems; // entries left as they are, notes the server refused
    };

    using Progress = std::function<void(qint64 done, qint64 total)>;

    // What the calendar is to the notes: the form their entries take there,
    // and whether the entries of other programs become notes (only in a
    // calendar of the notes' own; elsewhere they are the user's appointments).
    struct Calendar
    {
        NoteJournal::Form form = NoteJournal::Form::Journal;
        bool othersTaken = true;
    };

    SyncPass(Collection &collection, SyncState &state, NoteStore &store);
    void setCalendar(const Calendar &calendar) { m_calendar = calendar; }

    // The language whose keys this machine's window builds; the user's by default.
    void setLanguage(const QLocale &language) { m_language = language; }

    // The pass; with dryRun nothing is written on either side.
    Summary run(bool dryRun, const QDateTime &now, const Progress &progress = {});

    // Keys whose note changed here since it last went up; no server is asked.
    static QStringList waitingKeys(SyncState &state, NoteStore &store);

private:
    struct ServerNote
    {
        QString href;
        QString etag;
        NoteJournal::Entry entry;
    };
    struct OtherEntry
    {
        QString key;
        QString href;
        QString etag;
        QString text;
        NoteJournal::Entry entry;
    };

    // The server's side of a note: its note (nothing for a new entry), where
    // it is, its ETag and its history mark.
    struct Server
    {
        std::optional<Note> note;
        QString href;
        QString etag;
        QStringList versions; // the entry's version marks, newest first
        QString uid = {};     // the entry's UID where known
    };
    struct Upload
    {
        QString key;
        Note note;
        Server server;   // what note replaces there
        QString version; // the mark this write adds
    };

    void readChanges(const Collection::Changes &changes);
    void take(const Collection::Entry &fetched);
    void syncAll(const Progress &progress);
    void syncKey(const QString &key);
    std::optional<Note> commonBase(const QString &key, const std::optional<SyncState::Entry> &entry) const;
    std::optional<Note> baseOf(const QString &key) const;
    std::optional<Note> serverNoteOf(const QString &key, const std::optional<Note> &base) const;
    void mergeBoth(const QString &key, const Note &local, const Server &server, const std::optional<Note> &base,
                   bool withoutBase);
    void addOtherEntry(const OtherEntry &other);
    // Defined in SyncPassDays.cpp: the entries of one day brought together.
    QString localKeyOf(const NoteJournal::Entry &entry) const;
    bool hasEntryThere(const QString &key) const;
    void settleDays();
    void moveTo(const QString &key, const ServerNote &there);
    void absorbDuplicates(const QString &key, const QList<ServerNote> &duplicates);
    static QString broughtInto(const QString &note, const QString &before, const QString &now);
    QString uidAt(const QString &key, const Server &server) const;
    void reportShadowed();
    void download(const QString &key, const Server &server);
    void flushDownloads();
    void upload(const QString &key, const Note &note, const Server &server);
    void flushUploads();
    void finishUpload(Upload upload, Collection::Put put);
    bool mergeWithServer(Upload &upload);
    void keepServerChange(const QString &key);
    bool writeStore(const QString &key, const Note &to, const std::optional<Server> &from = std::nullopt);
    void agree(const QString &key, const Server &server, const Note &note);
    static QString newVersion();
    static QStringList versionsOf(const Upload &upload);
    void moveToken(const QString &startToken, const QString &token);
    QString hrefOf(const QString &key) const;
    QByteArray entryData(const Upload &upload) const;
    bool travels(const QString &key) const;
    void note(const QString &change);
    void problem(const QString &text);

    QLocale m_language;
    Collection &m_collection;
    SyncState &m_state;
    NoteStore &m_store;
    bool m_dryRun = false;
    Calendar m_calendar;
    QDateTime m_now;
    Summary m_summary;

    QHash<QString, Note> m_local;
    QHash<QString, SyncState::Entry> m_entries;
    QHash<QString, QString> m_keyOfHref;      // hrefs of the entries in the state
    QHash<QString, QString> m_keyOfOwnHref;   // where our entry of each local note goes
    QSet<QString> m_removed;          // hrefs removed on the server
    QHash<QString, ServerNote> m_server; // our entries changed on the server, by key
    QSet<QString> m_leftAlone;        // hrefs of entries we cannot read
    QList<OtherEntry> m_others;
    DayKeys m_dayKeys;
    QHash<QString, QList<ServerNote>> m_duplicates; // more entries of ours of a day, by key
    QHash<QString, QString> m_movedHref;      // key -> the entry its note moved to this pass
    QHash<QString, QString> m_keyOfMovedHref;
    QHash<QString, SyncState::Brought> m_brought;
    bool m_everyChangeTaken = true;   // else the token stays where it was
    bool m_uploadedAny = false;
    QList<Upload> m_pending;          // uploads not sent yet
    QList<std::pair<QString, Server>> m_downloads; // notes new here, not stored yet
};
