// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>

#include <utility>

class QAuthenticator;
class QNetworkReply;

// The requests of one sync pass to one server, with what a server may not do
// to us: the password goes only to the origin (scheme, host and port) set up,
// and only when the server asks for it with a 401 challenge; over plain http
// only to this machine unless the user allowed it; no redirect to another
// origin or one that would change the request is followed; an answer may not
// exceed a size, a request and the whole pass a time (counted from the start,
// not from the last byte). Every failure is a SyncFailure naming the server.
class HttpExchange
{
public:
    // What an answer may hold: a listing of many thousand entries fits.
    static constexpr qint64 MaxAnswerBytes = 64 * 1024 * 1024;
    static constexpr int DefaultRequestSeconds = 60;
    // A pass may take this many request deadlines in all.
    static constexpr int PassRequests = 20;

    struct Reply
    {
        int status = 0;
        QByteArray body;
        QString etag;
        QString location; // of a redirect not followed
    };
    // Whether a failure of the server (5xx) is thrown or returned as the
    // answer: one refused upload is the entry's, not the pass's.
    enum class ServerFailures { Thrown, Returned };
    using Headers = QList<std::pair<QByteArray, QByteArray>>;

    HttpExchange(const QUrl &origin, const QString &user, const QString &password);

    // Basic authentication over http to another machine; refused unless allowed.
    void allowInsecureHttp(bool allowed) { m_allowInsecure = allowed; }
    // The deadline of one request; a pass gets PassRequests of them.
    void setRequestTimeout(int seconds);
    // Starts the time of a new pass (a watch makes many passes with one exchange).
    void beginPass();
    // Certificates trusted for this server besides the system's: its own
    // self-signed one, or the authority of a self-hosted network.
    void trustCertificates(const QList<QSslCertificate> &certificates);
    // With false, a redirect is returned as the answer (its location in
    // Reply::location) for the caller to judge, never followed.
    void followRedirects(bool follow) { m_followRedirects = follow; }

    // Starts a request; finish() waits for it and reads its answer.
    QNetworkReply *start(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers);
    Reply finish(QNetworkReply *reply, const QByteArray &verb, ServerFailures failures = ServerFailures::Thrown);
    // Gives a started request its whole time again (within the pass's): for
    // one that waits behind others at a server that answers one at a time.
    void renewDeadline(QNetworkReply *reply) const;
    // Both, following a redirect within the origin that keeps the request.
    Reply send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers = {},
               ServerFailures failures = ServerFailures::Thrown);

    int requestCount() const { return m_requests; }
    // The server as messages name it: scheme, host and port.
    QString server() const;

    static bool isSameOrigin(const QUrl &a, const QUrl &b);
    static bool isLoopback(const QUrl &url);
    // Whether value may go into a header: visible ASCII and blanks only, bounded.
    static bool isHeaderSafe(const QString &value);

private:
    Reply finishOne(QNetworkReply *reply, const QByteArray &verb, QUrl *redirect, ServerFailures failures);
    void authenticate(QNetworkReply *reply, QAuthenticator *authenticator);
    int remainingMs(const QByteArray &verb, const QUrl &url) const;

    QNetworkAccessManager m_network;
    QUrl m_origin;
    QString m_user;
    QString m_password;
    bool m_allowInsecure = false;
    bool m_followRedirects = true;
    QSslConfiguration m_tls = QSslConfiguration::defaultConfiguration();
    int m_requestMs = DefaultRequestSeconds * 1000;
    QDeadlineTimer m_passDeadline;
    int m_requests = 0;
};
