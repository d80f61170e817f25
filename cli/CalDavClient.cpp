// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CalDavClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QXmlStreamReader>

namespace {

// Entries fetched per calendar-multiget request.
constexpr qsizetype FetchBatch = 200;

// One <response> of a WebDAV multistatus answer.
struct Response
{
    QString href;
    int status = 200;
    // The properties found (status 200): their text, the hrefs inside them and
    // their children's names ("calendar", "VJOURNAL" of a comp's name).
    QHash<QString, QString> text;
    QHash<QString, QStringList> hrefs;
    QHash<QString, QStringList> children;
};

int statusOf(const QString &statusLine)
{
    return statusLine.section(u' ', 1, 1).toInt();
}

QString decodedHref(const QString &href)
{
    return QUrl(href.trimmed()).path(QUrl::FullyDecoded);
}

struct Multistatus
{
    QList<Response> responses;
    QString syncToken;
};

Multistatus parseMultistatus(const QByteArray &body)
{
    Multistatus result;
    QXmlStreamReader xml(body);
    Response response;
    Response propstat; // the properties of one propstat, kept when its status is 200
    int propstatStatus = 0;
    QString property;
    bool inPropstat = false, inProp = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const QString name = xml.name().toString();
            if (inProp && property.isEmpty()) {
                property = name;
                propstat.text.insert(property, QString());
            } else if (inProp && name == u"href") {
                propstat.hrefs[property] << decodedHref(xml.readElementText());
            } else if (inProp) {
                const QString attribute = xml.attributes().value(QStringLiteral("name")).toString();
                propstat.children[property] << (attribute.isEmpty() ? name : attribute);
            } else if (name == u"response") {
                response = Response();
            } else if (name == u"propstat") {
                inPropstat = true;
                propstat = Response();
                propstatStatus = 0;
            } else if (name == u"prop") {
                inProp = true;
            } else if (name == u"href") {
                response.href = decodedHref(xml.readElementText());
            } else if (name == u"status") {
                (inPropstat ? propstatStatus : response.status) = statusOf(xml.readElementText());
            } else if (name == u"sync-token") {
                result.syncToken = xml.readElementText().trimmed();
            }
        } else if (xml.isCharacters() && !property.isEmpty()) {
            propstat.text[property] += xml.text();
        } else if (xml.isEndElement()) {
            const QString name = xml.name().toString();
            if (inProp && name == property) {
                property.clear();
            } else if (inProp && property.isEmpty() && name == u"prop") {
                inProp = false;
            } else if (name == u"propstat") {
                inPropstat = false;
                if (propstatStatus == 200) {
                    response.text.insert(propstat.text);
                    response.hrefs.insert(propstat.hrefs);
                    response.children.insert(propstat.children);
                }
            } else if (name == u"response") {
                result.responses << response;
            }
        }
    }
    return result;
}

// The entries of a listing or of a sync report, without the collection itself.
CalDavClient::Changes changesOf(const QList<Response> &responses, const QString &self)
{
    CalDavClient::Changes changes;
    for (const Response &response : responses) {
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

CalDavClient::CalDavClient(const QUrl &collection, const QString &user, const QString &password)
    : m_collection(collection)
    , m_authorization("Basic " + (user + u':' + password).toUtf8().toBase64())
{
    if (!m_collection.path().endsWith(u'/'))
        m_collection.setPath(m_collection.path() + u'/');
    m_network.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

CalDavClient::Reply CalDavClient::send(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth,
                                       const QList<std::pair<QByteArray, QByteArray>> &headers)
{
    QNetworkRequest request(url);
    request.setRawHeader("Authorization", m_authorization);
    request.setTransferTimeout(30000);
    if (!depth.isEmpty())
        request.setRawHeader("Depth", depth);
    for (const auto &[name, value] : headers)
        request.setRawHeader(name, value);
    ++m_requests;
    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, body);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const std::unique_ptr<QNetworkReply> owner(reply);

    Reply result;
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.body = reply->readAll();
    result.etag = QString::fromUtf8(reply->rawHeader("ETag"));
    if (result.status == 0)
        throw Failure{Failure::Network, QCoreApplication::translate("CalDavClient", "Cannot reach %1: %2.").arg(url.adjusted(QUrl::RemoveUserInfo).toString(), reply->errorString())};
    // 403 is left to the caller: servers also answer it to a sync token they forgot.
    if (result.status == 401)
        throw Failure{Failure::Login, QCoreApplication::translate("CalDavClient", "The server %1 refused the login (HTTP %2): check the user name and the password.")
                                          .arg(url.host()).arg(result.status)};
    if (result.status >= 500)
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server failed (HTTP %1) on %2 %3.").arg(result.status).arg(QString::fromLatin1(verb), url.path())};
    return result;
}

CalDavClient::Reply CalDavClient::davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth)
{
    return send(verb, url, body, depth, {{"Content-Type", "application/xml; charset=utf-8"}});
}

QUrl CalDavClient::urlOf(const QString &href) const
{
    QUrl url = m_collection;
    url.setPath(href, QUrl::DecodedMode);
    return url;
}

QString CalDavClient::hrefFor(const QString &fileName) const
{
    return m_collection.path(QUrl::FullyDecoded) + fileName;
}

CalDavClient::Changes CalDavClient::changesSince(const QString &token)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:sync-collection xmlns:D=\"DAV:\"><D:sync-token>" + xmlEscaped(token) +
                            "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/></D:prop></D:sync-collection>";
    const Reply reply = davRequest("REPORT", m_collection, body, {});
    if (reply.status != 207)
        return listAll(); // no sync-collection here, or a token the server no longer knows
    const Multistatus answer = parseMultistatus(reply.body);
    Changes changes = changesOf(answer.responses, m_collection.path(QUrl::FullyDecoded));
    changes.token = answer.syncToken;
    changes.complete = token.isEmpty();
    return changes;
}

CalDavClient::Changes CalDavClient::listAll()
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:getetag/></D:prop></D:propfind>";
    const Reply reply = davRequest("PROPFIND", m_collection, body, "1");
    if (reply.status != 207)
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server answered HTTP %1 to the listing of %2.").arg(reply.status).arg(m_collection.path())};
    Changes changes = changesOf(parseMultistatus(reply.body).responses, m_collection.path(QUrl::FullyDecoded));
    changes.complete = true;
    return changes;
}

QList<CalDavClient::Entry> CalDavClient::fetch(const QList<QString> &hrefs)
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
            throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server answered HTTP %1 when asked for entries.").arg(reply.status)};
        for (const Response &response : parseMultistatus(reply.body).responses) {
            if (response.text.contains(QStringLiteral("calendar-data")))
                entries.append({response.href, response.text.value(QStringLiteral("getetag")).trimmed(),
                                response.text.value(QStringLiteral("calendar-data")).toUtf8()});
        }
    }
    return entries;
}

CalDavClient::Reply CalDavClient::put(const QString &href, const QByteArray &data, const QString &etag)
{
    const std::pair<QByteArray, QByteArray> condition =
        etag.isEmpty() ? std::pair<QByteArray, QByteArray>("If-None-Match", "*") : std::pair<QByteArray, QByteArray>("If-Match", etag.toUtf8());
    Reply reply = send("PUT", urlOf(href), data, {}, {{"Content-Type", "text/calendar; charset=utf-8"}, condition});
    if (reply.status != 412 && (reply.status < 200 || reply.status > 299))
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server answered HTTP %1 to storing %2.").arg(reply.status).arg(href)};
    return reply;
}

QString CalDavClient::firstHref(const QUrl &url, const QByteArray &property)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>" + property +
                            "</D:prop></D:propfind>";
    const Reply reply = davRequest("PROPFIND", url, body, "0");
    for (const Response &response : parseMultistatus(reply.body).responses) {
        for (const QStringList &hrefs : response.hrefs) {
            if (!hrefs.isEmpty())
                return hrefs.first();
        }
    }
    return QString();
}

QUrl CalDavClient::findOrMakeCollection(const QUrl &url, const QString &name)
{
    const QByteArray kinds = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                             "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                             "<D:resourcetype/><D:displayname/><C:supported-calendar-component-set/></D:prop></D:propfind>";
    auto isJournalCalendar = [](const Response &response) {
        const QStringList components = response.children.value(QStringLiteral("supported-calendar-component-set"));
        return response.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("calendar"))
               && (components.isEmpty() || components.contains(QStringLiteral("VJOURNAL")));
    };
    const Reply self = davRequest("PROPFIND", url, kinds, "0");
    if (self.status != 207)
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "%1 is no WebDAV folder (HTTP %2).").arg(url.toString()).arg(self.status)};
    const Multistatus here = parseMultistatus(self.body);
    if (!here.responses.isEmpty() && isJournalCalendar(here.responses.first()))
        return url;

    QUrl at = url;
    const QString principal = firstHref(url, "<D:current-user-principal/>");
    if (principal.isEmpty())
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server names no user principal at %1.").arg(url.toString())};
    at.setPath(principal, QUrl::DecodedMode);
    const QString home = firstHref(at, "<C:calendar-home-set/>");
    if (home.isEmpty())
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server names no calendar home for %1.").arg(principal)};
    at.setPath(home.endsWith(u'/') ? home : home + u'/', QUrl::DecodedMode);

    const Reply listing = davRequest("PROPFIND", at, kinds, "1");
    for (const Response &response : parseMultistatus(listing.body).responses) {
        if (isJournalCalendar(response) && response.text.value(QStringLiteral("displayname")) == name) {
            QUrl found = at;
            found.setPath(response.href, QUrl::DecodedMode);
            return found;
        }
    }
    QUrl made = at;
    made.setPath(at.path(QUrl::FullyDecoded) + QStringLiteral("tavorin-planner/"), QUrl::DecodedMode);
    const QByteArray create = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                              "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop>"
                              "<D:displayname>" + xmlEscaped(name) + "</D:displayname>"
                              "<C:supported-calendar-component-set><C:comp name=\"VJOURNAL\"/></C:supported-calendar-component-set>"
                              "</D:prop></D:set></C:mkcalendar>";
    const Reply reply = davRequest("MKCALENDAR", made, create, {});
    if (reply.status != 201)
        throw Failure{Failure::Server, QCoreApplication::translate("CalDavClient", "The server did not make the calendar %1 (HTTP %2).").arg(made.path()).arg(reply.status)};
    return made;
}
