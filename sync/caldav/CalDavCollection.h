// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/Collection.h"

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>
#include <QSslConfiguration>
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
    QString hrefFor(const QString &fileName) const override;
    int requestCount() const override { return m_requests; }

    // Certificates trusted for this server besides the system's: its own
    // self-signed one, or the authority of a self-hosted network.
    void trustCertificates(const QList<QSslCertificate> &certificates);
    // Whether redirects are followed (by Qt, which re-sends a PROPFIND as a
    // GET); discovery turns them off and follows them itself.
    void followRedirects(bool follow) { m_followRedirects = follow; }

    struct Reply
    {
        int status = 0;
        QByteArray body;
        QString etag;
        QString location; // of a redirect
    };
    // A WebDAV request (PROPFIND, REPORT, MKCALENDAR) with an XML body, for discovery.
    Reply davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth);

private:
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    QNetworkReply *start(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers);
    // The answer; a SyncFailure when there is none, the login was refused or,
    // with serverFailures, the server failed.
    Reply finish(QNetworkReply *reply, const QByteArray &verb, bool serverFailures = true);
    Reply send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers = {},
               bool serverFailures = true);
    static Headers putHeaders(const QString &etag);
    static Put putOutcome(const Reply &reply);
    QUrl urlOf(const QString &href) const;
    Changes listAll();

    QNetworkAccessManager m_network;
    QSslConfiguration m_tls = QSslConfiguration::defaultConfiguration();
    bool m_followRedirects = true;
    QUrl m_collection;
    QByteArray m_authorization;
    int m_requests = 0;
};
