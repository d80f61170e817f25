// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/caldav/CalDavCollection.h"

#include "sync/caldav/Multistatus.h"
#include "sync/caldav/ServerMessage.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace {

// Entries fetched per calendar-multiget request.
constexpr qsizetype FetchBatch = 200;

QString tr(const char *text)
{
    return QCoreApplication::translate("CalDavClient", text);
}

// The entries of a listing or of a sync report, without the collection itself.
Collection::Changes changesOf(const QList<Multistatus::Response> &responses, const QString &self)
{
    Collection::Changes changes;
    for (const Multistatus::Response &response : responses) {
        if (response.href == self)
            continue;
        if (response.status == 404)
            changes.removed << response.href;
        else if (response.text.contains(QStringLiteral("getetag")))
            changes.etags.insert(response.href, response.text.value(QStringLiteral("getetag")).trimmed());
    }
    return changes;
}

QByteArray xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

CalDavCollection::CalDavCollection(const QUrl &collection, const QString &user, const QString &password)
    : m_collection(collection)
    , m_authorization("Basic " + (user + u':' + password).toUtf8().toBase64())
{
    if (!m_collection.path().endsWith(u'/'))
        m_collection.setPath(m_collection.path() + u'/');
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

QNetworkReply *CalDavCollection::start(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers)
{
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", m_authorization);
    request.setTransferTimeout(30000);
    request.setSslConfiguration(m_tls);
    if (!m_followRedirects)
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    ++m_requests;
    return m_network.sendCustomRequest(request, verb, body);
}

void CalDavCollection::trustCertificates(const QList<QSslCertificate> &certificates)
{
    m_tls.addCaCertificates(certificates);
}

CalDavCollection::Reply CalDavCollection::finish(QNetworkReply *reply, const QByteArray &verb, bool serverFailures)
{
    const std::unique_ptr<QNetworkReply> owner(reply);
    const QUrl url = reply->url();
    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.etag = QString::fromUtf8(reply->rawHeader("ETag"));
    result.location = QString::fromUtf8(reply->rawHeader("Location"));
    if (result.status == 0 && reply->error() == QNetworkReply::SslHandshakeFailedError)
        throw SyncFailure{SyncFailure::Network, tr("Cannot reach %1: %2. If the server has a certificate of its own, "
                                                   "trust it with \"tavorin-notes sync setup URL --user NAME --certificate FILE\".")
                                                    .arg(url.adjusted(QUrl::RemoveUserInfo).toString(), reply->errorString())};
    if (result.status == 0)
        throw SyncFailure{SyncFailure::Network, tr("Cannot reach %1: %2.").arg(url.adjusted(QUrl::RemoveUserInfo).toString(), reply->errorString())};
    // 403 is left to the caller: servers also answer it to a sync token they forgot.
    if (result.status == 401)
        throw SyncFailure{SyncFailure::Login, tr("The server %1 refused the login (HTTP %2): check the user name and the password.")
                                                  .arg(url.host()).arg(result.status)};
    if (result.status >= 500 && serverFailures)
        throw SyncFailure{SyncFailure::Server, tr("The server failed (%1) on %2 %3.")
                                                   .arg(ServerMessage::describe(result.status, result.body), QString::fromLatin1(verb), url.path())};
    return result;
}

CalDavCollection::Reply CalDavCollection::send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const Headers &headers,
                                               bool serverFailures)
{
    QNetworkReply *reply = start(verb, url, body, headers);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    return finish(reply, verb, serverFailures);
}

CalDavCollection::Reply CalDavCollection::davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth)
{
    Headers headers{{"Content-Type", "application/xml; charset=utf-8"}};
    if (!depth.isEmpty())
        headers.append({"Depth", depth});
    return send(verb, url, body, headers);
}

QUrl CalDavCollection::urlOf(const QString &href) const
{
    QUrl url = m_collection;
    url.setPath(href, QUrl::DecodedMode);
    return url;
}

QString CalDavCollection::hrefFor(const QString &fileName) const
{
    return m_collection.path(QUrl::FullyDecoded) + fileName;
}

Collection::Changes CalDavCollection::changesSince(const QString &token)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" + xmlEscaped(token) +
                            "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>";
    Reply reply;
    try {
        reply = davRequest("REPORT", m_collection, body, {});
    } catch (const SyncFailure &failure) {
        if (failure.kind != SyncFailure::Server)
            throw;
        return listAll(); // a server that fails at it (501: not implemented): the listing does
    }
    if (reply.status != 207)
        return listAll(); // no sync-collection here, or a token the server no longer knows
    const Multistatus answer = Multistatus::parse(reply.body);
    Changes changes = changesOf(answer.responses, m_collection.path(QUrl::FullyDecoded));
    changes.token = answer.syncToken;
    changes.complete = token.isEmpty();
    return changes;
}

Collection::Changes CalDavCollection::listAll()
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:getetag/></D:prop></D:propfind>";
    const Reply reply = davRequest("PROPFIND", m_collection, body, "1");
    if (reply.status != 207)
        throw SyncFailure{SyncFailure::Server, tr("The server answered %1 to the listing of %2.")
                                                   .arg(ServerMessage::describe(reply.status, reply.body), m_collection.path())};
    Changes changes = changesOf(Multistatus::parse(reply.body).responses, m_collection.path(QUrl::FullyDecoded));
    changes.complete = true;
    return changes;
}

QList<Collection::Entry> CalDavCollection::fetch(const QStringList &hrefs)
{
    QList<Entry> entries;
    for (qsizetype start = 0; start < hrefs.size(); start += FetchBatch) {
        QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                          "<C:calendar-multiget xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                          "<D:prop><D:getetag/><C:calendar-data/></D:prop>";
        for (const QString &href : hrefs.mid(start, FetchBatch))
            body += "<D:href>" + xmlEscaped(urlOf(href).path(QUrl::FullyEncoded)) + "</D:href>";
        body += "</C:calendar-multiget>";
        const Reply reply = davRequest("REPORT", m_collection, body, "1");
        if (reply.status != 207)
            throw SyncFailure{SyncFailure::Server, tr("The server answered %1 when asked for entries.")
                                                       .arg(ServerMessage::describe(reply.status, reply.body))};
        for (const Multistatus::Response &response : Multistatus::parse(reply.body).responses) {
            if (response.text.contains(QStringLiteral("calendar-data")))
                entries.append({response.href, response.text.value(QStringLiteral("getetag")).trimmed(),
                                response.text.value(QStringLiteral("calendar-data")).toUtf8()});
        }
    }
    return entries;
}

CalDavCollection::Headers CalDavCollection::putHeaders(const QString &etag)
{
    return {{"Content-Type", "text/calendar; charset=utf-8"},
            etag.isEmpty() ? std::pair<QByteArray, QByteArray>("If-None-Match", "*")
                           : std::pair<QByteArray, QByteArray>("If-Match", etag.toUtf8())};
}

// A refusal, even a failure of the server, is one entry's: the pass goes on
// with the others and tries it again the next time.
Collection::Put CalDavCollection::putOutcome(const Reply &reply)
{
    if (reply.status == 412)
        return {Put::Conflict, {}, {}};
    if (reply.status < 200 || reply.status > 299)
        return {Put::Refused, {}, ServerMessage::describe(reply.status, reply.body)};
    return {Put::Stored, reply.etag, {}};
}

Collection::Put CalDavCollection::put(const QString &href, const QByteArray &data, const QString &etag)
{
    return putOutcome(send("PUT", urlOf(href), data, putHeaders(etag), false));
}

QList<Collection::Put> CalDavCollection::putAll(const QList<PutRequest> &requests)
{
    QList<QNetworkReply *> replies;
    for (const PutRequest &request : requests)
        replies << start("PUT", urlOf(request.href), request.data, putHeaders(request.etag));
    QEventLoop loop;
    qsizetype open = replies.size();
    for (QNetworkReply *reply : replies) {
        QObject::connect(reply, &QNetworkReply::finished, &loop, [&] {
            if (--open == 0)
                loop.quit();
        });
    }
    if (open > 0)
        loop.exec();
    QList<Put> results;
    std::optional<SyncFailure> failure;
    for (qsizetype i = 0; i < replies.size(); ++i) {
        try {
            results << putOutcome(finish(replies.at(i), "PUT", false));
        } catch (const SyncFailure &thrown) {
            if (!failure)
                failure = thrown; // the first, once every reply is closed
            results << Put{Put::Refused, {}, thrown.description};
        }
    }
    if (failure)
        throw *failure;
    return results;
}
