// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/Collection.h"
#include "sync/caldav/HttpExchange.h"
#include "sync/caldav/Multistatus.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

// A calendar collection on a CalDAV server (RFC 4791, with WebDAV sync, RFC
// 6578), over Qt Network with basic authentication (HttpExchange). Entries
// are named by their href: the path on the server, percent-decoded, always
// inside the collection. Every failure that ends a pass is a SyncFailure
// naming the server.
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
    int requestCount() const override { return m_http.requestCount(); }
    // The guards of HttpExchange, for this collection's requests.
    void allowInsecureHttp(bool allowed) { m_http.allowInsecureHttp(allowed); }
    void setRequestTimeout(int seconds) { m_http.setRequestTimeout(seconds); }

    // The collection at or below url: url itself when it is a calendar, else
    // the calendar called name in the user's calendar home, made when missing.
    QUrl findOrMakeCollection(const QUrl &url, const QString &name);

private:
    using Reply = HttpExchange::Reply;
    using Headers = HttpExchange::Headers;

    Reply davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth);
    static Headers putHeaders(const QString &etag);
    Put putOutcome(const Reply &reply, const QString &href) const;
    Changes changesOf(const QList<Multistatus::Response> &responses) const;
    QString checkedHref(const QString &href) const;
    QString checkedEtag(const QString &etag) const;
    QUrl urlOf(const QString &href) const;
    Changes listAll();
    QString firstHref(const QUrl &url, const QByteArray &property);

    QUrl m_collection;
    HttpExchange m_http;
};
