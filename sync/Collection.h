// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A calendar collection as sync sees it: entries named by href, each with an
// ETag that changes whenever the entry does. CalDAV is one, an in-memory
// collection for tests another; sync's rules see nothing but this.
class Collection
{
public:
    // What changed since a token: the hrefs with their ETags, and those
    // removed. complete: every entry is listed, so one missing was removed.
    struct Changes
    {
        QHash<QString, QString> etags;
        QStringList removed;
        QString token;
        bool complete = false;
    };

    struct Entry
    {
        QString href;
        QString etag;
        QByteArray data;
    };

    // The outcome of a put: stored (with the new ETag, empty when the
    // collection names none), a conflict (someone wrote in between: the
    // precondition failed), or refused with the collection's reason.
    struct Put
    {
        enum Outcome { Stored, Conflict, Refused } outcome = Stored;
        QString etag;
        QString reason;
    };

    struct PutRequest
    {
        QString href;
        QByteArray data;
        QString etag;
    };

    virtual ~Collection() = default;

    // Changes since token; everything for an empty token or one the collection forgot.
    virtual Changes changesSince(const QString &token) = 0;
    // The entries at hrefs that the collection still holds; those it does not are left out.
    virtual QList<Entry> fetch(const QStringList &hrefs) = 0;
    // Puts data at href, only over the ETag etag, or only where no entry is when etag is empty.
    virtual Put put(const QString &href, const QByteArray &data, const QString &etag) = 0;
    // Several puts, in the order given; a collection may send them at once.
    virtual QList<Put> putAll(const QList<PutRequest> &requests)
    {
        QList<Put> results;
        for (const PutRequest &request : requests)
            results << put(request.href, request.data, request.etag);
        return results;
    }
    // Removes the entry at href, only while its ETag is etag: Stored when it
    // is gone (also when it was gone already), a Conflict when it changed.
    virtual Put removeEntry(const QString &href, const QString &etag) = 0;
    // The href of a new entry called fileName.
    virtual QString hrefFor(const QString &fileName) const = 0;
    // Requests sent so far, for the summary.
    virtual int requestCount() const = 0;
};

// Why sync could not go on: the exit code tells the kind.
struct SyncFailure
{
    enum Kind { Network, Login, Server } kind;
    QString description;
};
