// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/Collection.h"
#include "sync/caldav/HttpExchange.h"
#include "sync/caldav/Multistatus.h"

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
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
    // A pass's time limit counts from here.
    void beginPass() { m_http.beginPass(); }
    // The server as messages name it.
    QString server() const { return m_http.server(); }

    // Certificates trusted for this server besides the system's: its own
    // self-signed one, or the authority of a self-hosted network.
    void trustCertificates(const QList<QSslCertificate> &certificates) { m_http.trustCertificates(certificates); }
    // Whether redirects within the origin that keep the request are followed;
    // discovery turns them off and follows them itself (also a 301 of
    // /.well-known/caldav, with the same method).
    void followRedirects(bool follow) { m_http.followRedirects(follow); }

    using Reply = HttpExchange::Reply;
    // A WebDAV request (PROPFIND, REPORT, MKCALENDAR) with an XML body, also for discovery.
    Reply davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth);

private:
    // PUTs in flight at once in putAll: as many as Qt keeps connections to one server.
    static constexpr int PutsInFlight = 6;
    using Headers = HttpExchange::Headers;

    static Headers putHeaders(const QString &etag);
    static Put putOutcome(const Reply &reply);
    Changes changesOf(const QList<Multistatus::Response> &responses) const;
    QString checkedHref(const QString &href) const;
    QString checkedEtag(const QString &etag) const;
    QList<Entry> queryAll();
    Reply multiget(const QStringList &hrefs);
    QList<Entry> entriesOf(const Reply &reply) const;
    QUrl urlOf(const QString &href) const;
    Changes listAll();

    QUrl m_collection;
    HttpExchange m_http;
};
