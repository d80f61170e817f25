// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/Collection.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

class QNetworkReply;

// A calendar collection on a CalDAV server (RFC 4791, with WebDAV sync, RFC
// 6578), over Qt Network with basic authentication. Entries are named by
// their href: the path on the server, percent-decoded. Every failure that
// ends a pass is a SyncFailure naming the server.
class CalDavCollection : public Collection
{
public:
    CalDavCollection(const QUrl &collection, const QString &user, const QString &password);

    Changes changesSince(const QString &token) override;
    QList<Entry> fetch(const QStringList &hrefs) override;
    Put put(const QString &href, const QByteArray &data, const QString &etag) override;
    // Sends several at once, over the few connections Qt keeps to one server.
    QList<Put> putAll(const QList<PutRequest> &requests) override;
    Put removeEntry(const QString &href, const QString &etag) override;
    QString hrefFor(const QString &fileName) const override;
    int requestCount() const override { return m_requests; }

    // The collection at or below url: url itself when it is a calendar, else
    // the calendar called name in the user's calendar home, made when missing.
    QUrl findOrMakeCollection(const QUrl &url, const QString &name);

private:
    struct Reply
    {
        int status = 0;
        QByteArray body;
        QString etag;
    };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    QNetworkReply *start(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers);
    Reply finish(QNetworkReply *reply, const QByteArray &verb);
    Reply send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers = {});
    Reply davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth);
    static Headers putHeaders(const QString &etag);
    Put putOutcome(const Reply &reply, const QString &href) const;
    QUrl urlOf(const QString &href) const;
    Changes listAll();
    QString firstHref(const QUrl &url, const QByteArray &property);

    QNetworkAccessManager m_network;
    QUrl m_collection;
    QByteArray m_authorization;
    int m_requests = 0;
};
