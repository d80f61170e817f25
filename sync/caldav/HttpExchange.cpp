// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/caldav/HttpExchange.h"

#include "sync/Collection.h"
#include "sync/caldav/ServerMessage.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHostAddress>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace {

// Redirects within the origin followed for one request.
constexpr int MaxRedirects = 5;
// What a request ran into, kept on the reply until it is read.
const char FaultProperty[] = "tavorin-fault";
const char AnsweredProperty[] = "tavorin-answered";
const char DeadlineName[] = "tavorin-deadline";

QString tr(const char *text)
{
    return QCoreApplication::translate("HttpExchange", text);
}

// An address for a message: no user info, nothing a terminal would act on.
QString shown(const QUrl &url)
{
    return ServerMessage::oneLine(url.adjusted(QUrl::RemoveUserInfo).toString(), 300);
}

bool keepsRequest(int status)
{
    return status == 307 || status == 308;
}

} // namespace

HttpExchange::HttpExchange(const QUrl &origin, const QString &user, const QString &password)
    : m_origin(origin), m_user(user), m_password(password)
{
    // Redirects are looked at here, never followed by Qt (see finishOne).
    m_network.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
    QObject::connect(&m_network, &QNetworkAccessManager::authenticationRequired, &m_network,
                     [this](QNetworkReply *reply, QAuthenticator *authenticator) { authenticate(reply, authenticator); });
    setRequestTimeout(DefaultRequestSeconds);
}

void HttpExchange::setRequestTimeout(int seconds)
{
    m_requestMs = qMax(1, seconds) * 1000;
    beginPass();
}

void HttpExchange::beginPass()
{
    m_passDeadline.setRemainingTime(qint64(m_requestMs) * PassRequests);
}

void HttpExchange::trustCertificates(const QList<QSslCertificate> &certificates)
{
    m_tls.addCaCertificates(certificates);
}

QString HttpExchange::server() const
{
    return shown(m_origin.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment));
}

bool HttpExchange::isSameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme().compare(b.scheme(), Qt::CaseInsensitive) == 0 && a.host().compare(b.host(), Qt::CaseInsensitive) == 0
           && a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

bool HttpExchange::isLoopback(const QUrl &url)
{
    const QString host = url.host();
    return host.compare(u"localhost", Qt::CaseInsensitive) == 0 || QHostAddress(host).isLoopback();
}

bool HttpExchange::isHeaderSafe(const QString &value)
{
    if (value.size() > 1024)
        return false;
    for (QChar c : value) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

// The password only for the origin set up, once per request (a second
// challenge means it was refused), and over plain http only where allowed.
void HttpExchange::authenticate(QNetworkReply *reply, QAuthenticator *authenticator)
{
    if (!isSameOrigin(reply->url(), m_origin) || reply->property(AnsweredProperty).toBool())
        return;
    if (reply->url().scheme() != u"https" && !isLoopback(reply->url()) && !m_allowInsecure) {
        reply->setProperty(FaultProperty, QStringLiteral("insecure"));
        return;
    }
    reply->setProperty(AnsweredProperty, true);
    authenticator->setUser(m_user);
    authenticator->setPassword(m_password);
}

int HttpExchange::remainingMs(const QByteArray &verb, const QUrl &url) const
{
    const qint64 left = m_passDeadline.remainingTime();
    if (left == 0)
        throw SyncFailure{SyncFailure::Network, tr("The pass with %1 took too long: it stopped before %2 %3. "
                                                   "The rest is done at the next pass.")
                                                    .arg(server(), QString::fromLatin1(verb), shown(url))};
    return int(qMin<qint64>(m_requestMs, left));
}

QNetworkReply *HttpExchange::start(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers)
{
    const int deadlineMs = remainingMs(verb, url);
    QNetworkRequest request(url);
    request.setSslConfiguration(m_tls);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    ++m_requests;
    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, body);
    // One deadline for the whole request: a byte now and then does not move it.
    auto *deadline = new QTimer(reply);
    deadline->setObjectName(DeadlineName);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [reply] {
        reply->setProperty(FaultProperty, QStringLiteral("timeout"));
        reply->abort();
    });
    deadline->start(deadlineMs);
    QObject::connect(reply, &QNetworkReply::finished, deadline, &QTimer::stop);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > MaxAnswerBytes || total > MaxAnswerBytes) {
            reply->setProperty(FaultProperty, QStringLiteral("too-big"));
            reply->abort();
        }
    });
    return reply;
}

void HttpExchange::renewDeadline(QNetworkReply *reply) const
{
    if (auto *deadline = reply->findChild<QTimer *>(DeadlineName, Qt::FindDirectChildrenOnly))
        deadline->start(int(qBound(qint64(0), m_passDeadline.remainingTime(), qint64(m_requestMs))));
}

HttpExchange::Reply HttpExchange::finish(QNetworkReply *reply, const QByteArray &verb, ServerFailures failures)
{
    QUrl redirect;
    return finishOne(reply, verb, &redirect, failures);
}

HttpExchange::Reply HttpExchange::send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers,
                                       ServerFailures failures)
{
    QUrl at = url;
    for (int hop = 0;; ++hop) {
        QUrl redirect;
        Reply reply = finishOne(start(verb, at, body, headers), verb, &redirect, failures);
        if (redirect.isEmpty())
            return reply;
        if (hop == MaxRedirects)
            throw SyncFailure{SyncFailure::Server, tr("The server %1 redirects %2 %3 again and again.")
                                                        .arg(server(), QString::fromLatin1(verb), shown(url))};
        at = redirect;
    }
}

HttpExchange::Reply HttpExchange::finishOne(QNetworkReply *reply, const QByteArray &verb, QUrl *redirect, ServerFailures failures)
{
    const std::unique_ptr<QNetworkReply> owner(reply);
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const QUrl url = reply->url();
    const QString fault = reply->property(FaultProperty).toString();
    const QString what = QString::fromLatin1(verb) + u' ' + shown(url);
    if (fault == u"timeout")
        throw SyncFailure{SyncFailure::Network, tr("The server %1 did not answer %2 in time (%3 s).")
                                                     .arg(server(), what).arg(m_requestMs / 1000)};
    if (fault == u"too-big")
        throw SyncFailure{SyncFailure::Server, tr("The server %1 sent more than %2 MB in answer to %3: refused.")
                                                    .arg(server()).arg(MaxAnswerBytes / (1024 * 1024)).arg(what)};
    if (fault == u"insecure")
        throw SyncFailure{SyncFailure::Login, tr("The server %1 asks for the password over plain http, which anyone on the "
                                                 "way could read: use https, or set it up again with --allow-insecure-http.")
                                                  .arg(server())};
    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.etag = QString::fromLatin1(reply->rawHeader("ETag"));
    if (result.status == 0 && reply->error() == QNetworkReply::SslHandshakeFailedError)
        throw SyncFailure{SyncFailure::Network, tr("Cannot reach %1: %2. If the server has a certificate of its own, "
                                                   "trust it with \"tavorin-notes sync setup URL --user NAME --certificate FILE\".")
                                                    .arg(server(), ServerMessage::oneLine(reply->errorString(), 200))};
    if (result.status == 0)
        throw SyncFailure{SyncFailure::Network, tr("Cannot reach %1: %2.").arg(server(), ServerMessage::oneLine(reply->errorString(), 200))};
    if (result.status >= 300 && result.status < 400) {
        const QUrl target = url.resolved(reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
        if (!m_followRedirects) {
            result.location = target.toString();
            return result;
        }
        if (keepsRequest(result.status) && isSameOrigin(target, m_origin) && target.userInfo().isEmpty()) {
            *redirect = target;
            return result;
        }
        throw SyncFailure{SyncFailure::Server, tr("The server %1 sends %2 elsewhere (HTTP %3 to %4); that is not followed, "
                                                  "so that neither the password nor the notes go to another place. If the "
                                                  "calendar moved, set it up there: tavorin-notes sync setup NEW-URL --user NAME.")
                                                   .arg(server(), what).arg(result.status).arg(shown(target))};
    }
    // 403 is left to the caller: servers also answer it to a sync token they forgot.
    if (result.status == 401)
        throw SyncFailure{SyncFailure::Login, tr("The server %1 refused the login (HTTP %2): check the user name and the password.")
                                                  .arg(server()).arg(result.status)};
    if (result.status >= 500 && failures == ServerFailures::Thrown)
        throw SyncFailure{SyncFailure::Server, tr("The server %1 failed (%2) on %3.")
                                                   .arg(server(), ServerMessage::describe(result.status, result.body), what)};
    if (!result.etag.isEmpty() && !isHeaderSafe(result.etag))
        throw SyncFailure{SyncFailure::Server, tr("The server %1 sent an ETag that HTTP does not allow in answer to %2.")
                                                   .arg(server(), what)};
    return result;
}
