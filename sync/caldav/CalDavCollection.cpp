// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/caldav/CalDavCollection.h"

#include "sync/caldav/Multistatus.h"

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

QByteArray xmlEscaped(const QString &text)
{
    return text.toHtmlEscaped().toUtf8();
}

} // namespace

CalDavCollection::CalDavCollection(const QUrl &collection, const QString &user, const QString &password)
    : m_collection(collection)
    , m_http(collection, user, password)
{
    if (!m_collection.path().endsWith(u'/'))
        m_collection.setPath(m_collection.path() + u'/');
}

// The entries of a listing or of a sync report, without the collection itself.
Collection::Changes CalDavCollection::changesOf(const QList<Multistatus::Response> &responses) const
{
    const QString self = m_collection.path(QUrl::FullyDecoded);
    Collection::Changes changes;
    for (const Multistatus::Response &response : responses) {
        if (response.href == self || response.href + u'/' == self)
            continue;
        const QString href = checkedHref(response.href);
        if (response.status == 404)
            changes.removed << href;
        else if (response.text.contains(QStringLiteral("getetag")))
            changes.etags.insert(href, checkedEtag(response.text.value(QStringLiteral("getetag"))));
    }
    return changes;
}

// An href of the server's, refused unless it names an entry of this
// collection: it becomes a request's path, and the state keeps it.
QString CalDavCollection::checkedHref(const QString &href) const
{
    const QString self = m_collection.path(QUrl::FullyDecoded);
    const QString rest = href.mid(self.size());
    const bool inside = href.startsWith(self) && !rest.isEmpty() && !rest.contains(u'/') && rest != u".." && rest != u"."
                        && !rest.contains(u'\\') && href.size() <= 1024;
    bool visible = true;
    for (QChar c : href)
        visible = visible && c.category() != QChar::Other_Control && c.category() != QChar::Other_Format;
    if (!inside || !visible)
        throw SyncFailure{SyncFailure::Server, tr("The server %1 named an entry outside the calendar %2: \"%3\". Nothing was taken from it.")
                                                   .arg(m_http.server(), self, HttpExchange::sanitized(href.toUtf8(), 120))};
    return href;
}

// An ETag of the server's: it goes back into If-Match, so nothing HTTP does not allow.
QString CalDavCollection::checkedEtag(const QString &etag) const
{
    const QString trimmed = etag.trimmed();
    if (!HttpExchange::isHeaderSafe(trimmed))
        throw SyncFailure{SyncFailure::Server, tr("The server %1 sent an ETag that HTTP does not allow: \"%2\".")
                                                   .arg(m_http.server(), HttpExchange::sanitized(trimmed.toUtf8(), 120))};
    return trimmed;
}

CalDavCollection::Reply CalDavCollection::davRequest(const QByteArray &verb, const QUrl &url, const QByteArray &body, const QByteArray &depth)
{
    Headers headers{{"Content-Type", "application/xml; charset=utf-8"}};
    if (!depth.isEmpty())
        headers.append({"Depth", depth});
    return m_http.send(verb, url, body, headers);
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
    const Reply reply = davRequest("REPORT", m_collection, body, {});
    if (reply.status != 207)
        return listAll(); // no sync-collection here, or a token the server no longer knows
    const Multistatus answer = Multistatus::parse(reply.body, m_http.server());
    Changes changes = changesOf(answer.responses);
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
        throw SyncFailure{SyncFailure::Server, tr("The server answered HTTP %1 to the listing of %2: %3").arg(reply.status).arg(m_collection.path(), HttpExchange::sanitized(reply.body))};
    Changes changes = changesOf(Multistatus::parse(reply.body, m_http.server()).responses);
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
            throw SyncFailure{SyncFailure::Server, tr("The server answered HTTP %1 when asked for entries: %2").arg(reply.status).arg(HttpExchange::sanitized(reply.body))};
        for (const Multistatus::Response &response : Multistatus::parse(reply.body, m_http.server()).responses) {
            if (response.text.contains(QStringLiteral("calendar-data")))
                entries.append({checkedHref(response.href), checkedEtag(response.text.value(QStringLiteral("getetag"))),
                                response.text.value(QStringLiteral("calendar-data")).toUtf8()});
        }
    }
    return entries;
}

CalDavCollection::Headers CalDavCollection::putHeaders(const QString &etag)
{
    // Refused when they came in, but the state may be older than that check.
    if (!HttpExchange::isHeaderSafe(etag))
        throw SyncFailure{SyncFailure::Server, tr("An ETag that HTTP does not allow was kept for an entry; it is not sent.")};
    return {{"Content-Type", "text/calendar; charset=utf-8"},
            etag.isEmpty() ? std::pair<QByteArray, QByteArray>("If-None-Match", "*")
                           : std::pair<QByteArray, QByteArray>("If-Match", etag.toUtf8())};
}

Collection::Put CalDavCollection::putOutcome(const Reply &reply, const QString &href) const
{
    if (reply.status == 412)
        return {Put::Conflict, {}, {}};
    if (reply.status < 200 || reply.status > 299)
        return {Put::Refused, {}, tr("HTTP %1 to storing %2: %3").arg(reply.status).arg(href, HttpExchange::sanitized(reply.body))};
    return {Put::Stored, reply.etag.trimmed(), {}};
}

Collection::Put CalDavCollection::put(const QString &href, const QByteArray &data, const QString &etag)
{
    return putOutcome(m_http.send("PUT", urlOf(href), data, putHeaders(etag)), href);
}

QList<Collection::Put> CalDavCollection::putAll(const QList<PutRequest> &requests)
{
    QList<QNetworkReply *> replies;
    for (const PutRequest &request : requests)
        replies << m_http.start("PUT", urlOf(request.href), request.data, putHeaders(request.etag));
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
            results << putOutcome(m_http.finish(replies.at(i), "PUT"), requests.at(i).href);
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

QString CalDavCollection::firstHref(const QUrl &url, const QByteArray &property)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>" + property +
                            "</D:prop></D:propfind>";
    const Reply reply = davRequest("PROPFIND", url, body, "0");
    if (reply.status != 207)
        return QString();
    for (const Multistatus::Response &response : Multistatus::parse(reply.body, m_http.server()).responses) {
        for (const QStringList &hrefs : response.hrefs) {
            if (!hrefs.isEmpty())
                return hrefs.first();
        }
    }
    return QString();
}

QUrl CalDavCollection::findOrMakeCollection(const QUrl &url, const QString &name)
{
    const QByteArray kinds = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                             "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                             "<D:resourcetype/><D:displayname/><C:supported-calendar-component-set/></D:prop></D:propfind>";
    auto isJournalCalendar = [](const Multistatus::Response &response) {
        const QStringList components = response.children.value(QStringLiteral("supported-calendar-component-set"));
        return response.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("calendar"))
               && (components.isEmpty() || components.contains(QStringLiteral("VJOURNAL")));
    };
    const Reply self = davRequest("PROPFIND", url, kinds, "0");
    if (self.status != 207)
        throw SyncFailure{SyncFailure::Server, tr("%1 is no WebDAV folder (HTTP %2).").arg(url.toString()).arg(self.status)};
    const Multistatus here = Multistatus::parse(self.body, m_http.server());
    if (!here.responses.isEmpty() && isJournalCalendar(here.responses.first()))
        return url;

    QUrl at = url;
    const QString principal = firstHref(url, "<D:current-user-principal/>");
    if (principal.isEmpty())
        throw SyncFailure{SyncFailure::Server, tr("The server names no user principal at %1.").arg(url.toString())};
    at.setPath(principal, QUrl::DecodedMode);
    const QString home = firstHref(at, "<C:calendar-home-set/>");
    if (home.isEmpty())
        throw SyncFailure{SyncFailure::Server, tr("The server names no calendar home for %1.").arg(principal)};
    at.setPath(home.endsWith(u'/') ? home : home + u'/', QUrl::DecodedMode);

    const Reply listing = davRequest("PROPFIND", at, kinds, "1");
    if (listing.status != 207)
        throw SyncFailure{SyncFailure::Server, tr("%1 is no WebDAV folder (HTTP %2).").arg(at.toString()).arg(listing.status)};
    for (const Multistatus::Response &response : Multistatus::parse(listing.body, m_http.server()).responses) {
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
        throw SyncFailure{SyncFailure::Server, tr("The server did not make the calendar %1 (HTTP %2).").arg(made.path()).arg(reply.status)};
    return made;
}
