// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/caldav/CalendarDiscovery.h"

#include "platform/Failure.h"
#include "sync/caldav/CalDavCollection.h"
#include "sync/caldav/Multistatus.h"
#include "sync/caldav/ServerMessage.h"

#include <QCoreApplication>

namespace {

// Redirects followed at most, as browsers do.
constexpr int MaxRedirects = 5;

const QString Journals = QStringLiteral("VJOURNAL");
const QString Events = QStringLiteral("VEVENT");
// Where setup makes the notes' calendar, below the user's calendar home.
const QString MadePath = QStringLiteral("tavorin-planner/");

const QByteArray PropertiesBody = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                                  "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                                  "<D:resourcetype/><D:displayname/><C:supported-calendar-component-set/></D:prop></D:propfind>";

QString tr(const char *text)
{
    return QCoreApplication::translate("CalendarDiscovery", text);
}

QString componentOf(NoteJournal::Form form)
{
    return form == NoteJournal::Form::Event ? Events : Journals;
}

bool sameOrigin(const QUrl &a, const QUrl &b)
{
    return a.scheme() == b.scheme() && a.host() == b.host() && a.port(a.scheme() == u"https" ? 443 : 80) == b.port(b.scheme() == u"https" ? 443 : 80);
}

QString withSlash(const QString &path)
{
    return path.endsWith(u'/') ? path : path + u'/';
}

} // namespace

CalendarDiscovery::CalendarDiscovery(CalDavCollection &client, const QString &name) : m_client(client), m_name(name)
{
}

CalendarDiscovery::Found CalendarDiscovery::find(const QUrl &url, const std::optional<NoteJournal::Form> &wanted)
{
    m_client.followRedirects(false);
    Calendar start = properties(url);
    if (start.isCalendar)
        return use(start, wanted, start.name == m_name);
    const QUrl home = calendarHome(start.url);
    if (const std::optional<Calendar> own = ownCalendarIn(home))
        return use(*own, wanted, true);
    return use(make(home, wanted.value_or(NoteJournal::Form::Journal)), wanted, true);
}

// The properties of the collection at url, after the redirects the server
// sends; from a server's root, those of its /.well-known/caldav when the root
// is no WebDAV folder.
CalendarDiscovery::Calendar CalendarDiscovery::properties(const QUrl &url)
{
    QUrl at = url;
    for (int redirects = 0;; ++redirects) {
        const CalDavCollection::Reply reply = m_client.davRequest("PROPFIND", at, PropertiesBody, "0");
        if (reply.status >= 300 && reply.status < 400 && !reply.location.isEmpty() && redirects < MaxRedirects) {
            at = redirected(at, reply.location);
            continue;
        }
        if (reply.status != 207 && (at.path().isEmpty() || at.path() == u"/") && redirects == 0) {
            at.setPath(QStringLiteral("/.well-known/caldav"));
            continue;
        }
        if (reply.status != 207)
            throw SyncFailure{SyncFailure::Server, tr("%1 is no WebDAV folder (%2).").arg(at.toString(), ServerMessage::describe(reply.status, reply.body))};
        const Multistatus answer = Multistatus::parse(reply.body, m_client.server());
        Calendar calendar;
        calendar.url = at;
        if (!answer.responses.isEmpty()) {
            const Multistatus::Response &self = answer.responses.first();
            calendar.isCalendar = self.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("calendar"));
            calendar.name = self.text.value(QStringLiteral("displayname")).trimmed();
            calendar.components = self.children.value(QStringLiteral("supported-calendar-component-set"));
        }
        return calendar;
    }
}

// Where a redirect leads: only to the origin the user set up, since the
// password goes with every request.
QUrl CalendarDiscovery::redirected(const QUrl &url, const QString &location) const
{
    const QUrl to = url.resolved(QUrl(location));
    if (!sameOrigin(url, to))
        throw SyncFailure{SyncFailure::Server, tr("%1 sends sync on to another server, %2: if you trust it, set up sync with that address.")
                                                   .arg(url.toString(), to.adjusted(QUrl::RemovePath | QUrl::RemoveQuery).toString())};
    return to;
}

QString CalendarDiscovery::firstHref(const QUrl &url, const QByteArray &property)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                            "<D:propfind xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>" + property +
                            "</D:prop></D:propfind>";
    const CalDavCollection::Reply reply = m_client.davRequest("PROPFIND", url, body, "0");
    for (const Multistatus::Response &response : Multistatus::parse(reply.body, m_client.server()).responses) {
        for (const QStringList &hrefs : response.hrefs) {
            if (!hrefs.isEmpty())
                return hrefs.first();
        }
    }
    return QString();
}

QUrl CalendarDiscovery::calendarHome(const QUrl &url)
{
    QUrl at = url;
    const QString principal = firstHref(url, "<D:current-user-principal/>");
    if (principal.isEmpty())
        throw SyncFailure{SyncFailure::Server, tr("The server names no user principal at %1.").arg(url.toString())};
    at.setPath(principal, QUrl::DecodedMode);
    const QString home = firstHref(at, "<C:calendar-home-set/>");
    if (home.isEmpty())
        throw SyncFailure{SyncFailure::Server, tr("The server names no calendar home for %1.").arg(principal)};
    at.setPath(withSlash(home), QUrl::DecodedMode);
    return at;
}

// The calendar setup made before, on this machine or another: called name,
// or at the path setup makes it at.
std::optional<CalendarDiscovery::Calendar> CalendarDiscovery::ownCalendarIn(const QUrl &home)
{
    const CalDavCollection::Reply listing = m_client.davRequest("PROPFIND", home, PropertiesBody, "1");
    const QString madePath = home.path(QUrl::FullyDecoded) + MadePath;
    for (const Multistatus::Response &response : Multistatus::parse(listing.body, m_client.server()).responses) {
        const bool calendar = response.children.value(QStringLiteral("resourcetype")).contains(QStringLiteral("calendar"));
        const QString name = response.text.value(QStringLiteral("displayname")).trimmed();
        if (calendar && (name == m_name || withSlash(response.href) == madePath)) {
            QUrl found = home;
            found.setPath(withSlash(response.href), QUrl::DecodedMode);
            return Calendar{found, name, true, response.children.value(QStringLiteral("supported-calendar-component-set"))};
        }
    }
    return std::nullopt;
}

// Makes the notes' calendar for form, and reads back what the server made:
// some make another kind of calendar than asked, or ignore the kind.
CalendarDiscovery::Calendar CalendarDiscovery::make(const QUrl &home, NoteJournal::Form form)
{
    QUrl made = home;
    made.setPath(home.path(QUrl::FullyDecoded) + MadePath, QUrl::DecodedMode);
    const QByteArray create = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                              "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop>"
                              "<D:displayname>" + m_name.toHtmlEscaped().toUtf8() + "</D:displayname>"
                              "<C:supported-calendar-component-set><C:comp name=\"" + componentOf(form).toUtf8() + "\"/>"
                              "</C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>";
    const CalDavCollection::Reply reply = m_client.davRequest("MKCALENDAR", made, create, {});
    if (reply.status != 201)
        throw SyncFailure{SyncFailure::Server, tr("The server did not make the calendar %1 (%2). Where you may not make calendars, "
                                                  "set up sync with the address of one of yours: the notes go there as all-day events "
                                                  "where it takes no journal entries, and nothing else in it becomes a note.")
                                                   .arg(made.path(), ServerMessage::describe(reply.status, reply.body))};
    Calendar calendar = properties(made);
    if (!calendar.components.isEmpty() && !calendar.components.contains(componentOf(form)))
        m_notices << tr("The server made the calendar %1 for %2 only, not for %3 as asked.")
                         .arg(made.path(), calendar.components.join(QStringLiteral(", ")), componentOf(form));
    return calendar;
}

// The notes' form in calendar: the one asked for, else journal entries where
// the calendar takes them, else all-day events.
CalendarDiscovery::Found CalendarDiscovery::use(const Calendar &calendar, const std::optional<NoteJournal::Form> &wanted, bool own)
{
    const QStringList &takes = calendar.components;
    auto takesForm = [&](NoteJournal::Form form) { return takes.isEmpty() || takes.contains(componentOf(form)); };
    NoteJournal::Form form = wanted.value_or(NoteJournal::Form::Journal);
    if (!wanted && !takesForm(form))
        form = NoteJournal::Form::Event;
    if (!takesForm(form)) {
        const QString only = takes.join(QStringLiteral(", "));
        if (wanted)
            throw Failure(tr("The calendar %1 takes only %2, not %3: set up without --as, or with another calendar.")
                              .arg(calendar.url.toString(), only, componentOf(form)));
        throw Failure(tr("The calendar %1 takes only %2, neither journal entries nor events: give the address of another calendar.")
                          .arg(calendar.url.toString(), only));
    }
    Found found{calendar.url, form, own, m_notices};
    if (form == NoteJournal::Form::Event)
        found.notices << tr("The notes go to %1 as all-day events.").arg(calendar.url.toString());
    return found;
}
