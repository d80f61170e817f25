// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CalDavClient.h"
#include "cli/SyncState.h"

#include <QDateTime>
#include <QHash>
#include <QStringList>
#include <functional>

// One two-way pass between the store and a CalDAV collection, merged against
// what the last pass agreed (SyncState), so that nothing typed on either side
// is lost:
// - changed here only: uploaded over the entry's ETag (or only where none is);
// - changed on the server only: written to the store with SaveSetting;
// - changed on both: the local text, a line "— changed on another device —",
//   then the server's text, stored and uploaded; a text that already holds the
//   other side's is kept as it is, so a pass cut short never doubles a text;
// - removed on the server: uploaded again, never removed here;
// - an entry of another program: its text added below the note of its day.
// A write that the server refuses because someone wrote in between is merged
// again with what is there now.
class SyncPass
{
public:
    struct Summary
    {
        int uploaded = 0;
        int downloaded = 0;
        int merged = 0;
        int restored = 0;   // uploaded again after a removal on the server
        int added = 0;      // entries of other programs added to a note
        QStringList changes; // one line per change, for --dry-run
    };

    using Progress = std::function<void(qint64 done, qint64 total)>;

    SyncPass(CalDavClient &server, SyncState &state, const QString &storePath);

    // The pass; with dryRun nothing is written on either side.
    Summary run(bool dryRun, const QDateTime &now, const Progress &progress = {});

    // Keys whose note in the store at storePath changed since it last went up;
    // no server is asked.
    static QStringList waitingKeys(SyncState &state, const QString &storePath);

private:
    struct Value
    {
        QString text;
        QString color;
        bool operator==(const Value &) const = default;
    };
    struct ServerValue
    {
        QString href;
        QString etag;
        Value value;
    };

    static QHash<QString, Value> readStore(const QString &storePath);
    void syncKey(const QString &key, std::optional<SyncState::Entry> entry, std::optional<ServerValue> server, bool removed);
    bool addOtherEntry(const QString &key, const QString &text);
    void upload(const QString &key, Value value, const QString &href, QString etag);
    bool writeStore(const QString &key, const Value &from, const Value &to);
    void note(const QString &change);
    static Value mergedValue(const Value &local, const Value &server);

    CalDavClient &m_server;
    SyncState &m_state;
    QString m_storePath;
    QHash<QString, Value> m_local;
    bool m_dryRun = false;
    bool m_leftForLater = false; // a note the planner typed into meanwhile waits for the next pass
    QDateTime m_now;
    Summary m_summary;
};
