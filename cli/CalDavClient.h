// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>
#include <optional>

// The calls of CalDAV (RFC 4791, WebDAV sync RFC 6578) that sync needs, one
// request at a time, over Qt Network with basic authentication. Entries are
// named by their href: the path on the server, percent-decoded.
class CalDavClient
{
public:
    // Why a call failed, as the exit code tells it.
    struct Failure
    {
        enum Kind { Network, Login, Server } kind;
        QString description;
    };

    struct Reply
    {
        int status = 0;
        QByteArray body;
        QString etag;
    };

    // What changed in the collection: hrefs with their ETags, and hrefs
    // removed. complete means every entry is listed, so one missing was removed.
    struct Changes
    {
        QHash<QString, QString> etags;
        QList<QString> removed;
        QString token;
        bool complete = false;
    };

    struct Entry
    {
        QString href;
        QString etag;
        QByteArray data;
    };

    CalDavClient(const QUrl &collection, const QString &user, const QString &password);

    // Changes since token (everything for an empty token); the whole listing
    // when the server keeps no tokens or forgot this one.
    Changes changesSince(const QString &token);
    // The entries at hrefs, fetched in a few requests.
    QList<Entry> fetch(const QList<QString> &hrefs);
    // Puts data at href: only over the ETag etag, or only where none is when
    // etag is empty. status 412 means someone wrote in between.
    Reply put(const QString &href, const QByteArray &data, const QString &etag);

    // The collection at or below url: url itself when it is a calendar, else
    // the calendar called name in the user's calendar home, made when missing.
    QUrl findOrMakeCollection(const QUrl &url, const QString &name);

    // The href of a new entry called fileName in the collection.
    QString hrefFor(const QString &fileName) const;
    int requestCount() const { return m_requests; }

private:
    Reply send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth = {},
               const QList<std::pair<QByteArray, QByteArray>> &headers = {});
    Reply davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth);
    QUrl urlOf(const QString &href) const;
    Changes listAll();
    QString firstHref(const QUrl &url, const QByteArray &property);

    QNetworkAccessManager m_network;
    QUrl m_collection;
    QByteArray m_authorization;
    int m_requests = 0;
};
