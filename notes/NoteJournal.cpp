// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteJournal.h"

#include "platform/BgrColor.h"
#include "platform/Failure.h"
#include "settings/Settings.h"

#include <QColor>
#include <QCoreApplication>
#include <QCryptographicHash>

#include <libical/ical.h>

#include <limits>
#include <memory>

namespace NoteJournal {

namespace {

const char KeyProperty[] = "X-TAVORIN-KEY";
const char ColorProperty[] = "X-TAVORIN-COLOR";
const char ExactTextProperty[] = "X-TAVORIN-TEXT";
const char VersionsProperty[] = "X-TAVORIN-VERSIONS";
constexpr int LastYearOfLibical = 3000;

struct ComponentFree { void operator()(icalcomponent *c) const { icalcomponent_free(c); } };
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QByteArray textOf(icalcomponent *component)
{
    char *text = icalcomponent_as_ical_string_r(component);
    const QByteArray result(text);
    icalmemory_free_buffer(text);
    return result;
}

// What an iCalendar TEXT value can hold: no control characters but tab and
// line feed (libical drops CR and would write the others raw).
QString carriable(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\n' || c == u'\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F))
            result += c;
    }
    return result;
}

// libical also drops blanks at either end of a value, and a value of blanks
// altogether: such texts travel with an exact copy beside them.
bool needsExactCopy(const QString &text)
{
    return carriable(text) != text || text.trimmed() != text;
}

// The first line that is not blank, without its blanks: the entry's title.
QString firstLine(const QString &text)
{
    for (const QString &line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return QString();
}

// text with its first line that is not blank replaced by title, keeping the
// blanks around it; title alone when text has no such line.
QString withFirstLine(const QString &text, const QString &title)
{
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        const QStringView trimmed = line.trimmed();
        if (!trimmed.isEmpty()) {
            const qsizetype from = start + (trimmed.data() - line.data());
            return text.left(from) + title + text.mid(from + trimmed.size());
        }
        start = end + 1;
    }
    return text.isEmpty() ? title : title + u'\n' + text;
}

icaltimetype dateValue(const QDate &date)
{
    icaltimetype day = icaltime_null_date();
    day.year = date.year();
    day.month = date.month();
    day.day = date.day();
    return day;
}

void addX(icalcomponent *component, const char *name, const QString &value)
{
    icalproperty *property = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(property, name);
    icalcomponent_add_property(component, property);
}

std::optional<QString> xValue(icalcomponent *component, const char *name)
{
    for (icalproperty *p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), name) == 0)
            return QString::fromUtf8(icalproperty_get_x(p));
    }
    return std::nullopt;
}

std::optional<QString> textProperty(icalcomponent *component, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(component, kind);
    if (!p)
        return std::nullopt;
    const char *text = icalvalue_get_text(icalproperty_get_value(p));
    return text ? std::optional(QString::fromUtf8(text)) : std::nullopt;
}

// The description as libical read it, or our exact copy while that still
// says the same (another program that edits the description leaves the copy
// behind, and then the description counts).
std::optional<QString> descriptionOf(icalcomponent *journal)
{
    const std::optional<QString> described = textProperty(journal, ICAL_DESCRIPTION_PROPERTY);
    const std::optional<QString> copy = xValue(journal, ExactTextProperty);
    if (copy) {
        const QString exact = QString::fromUtf8(QByteArray::fromBase64(copy->toLatin1()));
        if (carriable(exact).trimmed() == described.value_or(QString()).trimmed())
            return exact;
    }
    return described;
}

QString colorOf(icalcomponent *journal)
{
    if (const auto exact = xValue(journal, ColorProperty))
        return *exact;
    if (icalproperty *p = icalcomponent_get_first_property(journal, ICAL_COLOR_PROPERTY)) {
        const QColor color(QString::fromUtf8(icalproperty_get_color(p)));
        if (color.isValid())
            return QString::number(BgrColor::fromRgb(color.red(), color.green(), color.blue()));
    }
    return QString();
}

Entry entryOf(icalcomponent *journal)
{
    Entry entry;
    entry.uid = QString::fromUtf8(icalcomponent_get_uid(journal));
    entry.key = xValue(journal, KeyProperty).value_or(QString());
    entry.description = descriptionOf(journal);
    entry.summary = textProperty(journal, ICAL_SUMMARY_PROPERTY);
    if (entry.summary && entry.summary->isEmpty())
        entry.summary.reset();
    entry.color = colorOf(journal);
    entry.versions = xValue(journal, VersionsProperty).value_or(QString()).split(u' ', Qt::SkipEmptyParts);
    if (icalcomponent_get_first_property(journal, ICAL_DTSTART_PROPERTY)) {
        const icaltimetype start = icalcomponent_get_dtstart(journal);
        entry.day = QDate(start.year, start.month, start.day);
    }
    return entry;
}

// libical's own words for the first error it found in component or inside it.
QString firstError(icalcomponent *component)
{
    if (icalproperty *p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY))
        return QString::fromUtf8(icalproperty_get_xlicerror(p)).simplified();
    for (icalcomponent *c = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
        if (const QString error = firstError(c); !error.isEmpty())
            return error;
    }
    return QString();
}

Failure unreadable(const QString &reason)
{
    return Failure(QCoreApplication::translate("NoteJournal", "This is no readable iCalendar text: %1.").arg(reason));
}

} // namespace

QString Entry::noteKey() const
{
    // A key with control characters, a backslash or blanks at either end is
    // none the window builds, nor one libical reads back as written.
    if (isOurs())
        return NoteKey::isText(key) && carriable(key) == key && !key.contains(u'\n') && !key.contains(u'\t')
                       && !key.contains(u'\\') && key.trimmed() == key
                   ? key
                   : QString();
    return day.isValid() ? NoteKey::forDay(day) : QString();
}

QString Entry::foreignText() const
{
    const QString described = description.value_or(QString());
    if (summary && *summary != firstLine(carriable(described)))
        return described.trimmed().isEmpty() ? *summary : *summary + u'\n' + described;
    return described;
}

QString Entry::textOver(const QString &base) const
{
    if (description) {
        if (summary && *summary != firstLine(carriable(*description)))
            return withFirstLine(*description, *summary);
        return *description;
    }
    if (summary)
        return *summary == firstLine(base) ? base : withFirstLine(base, *summary);
    return QString();
}

namespace {

QString hashedUid(const QString &name)
{
    const QByteArray hash = QCryptographicHash::hash((Settings::Application + u'/' + Settings::Section + u'/' + name).toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex()) + QStringLiteral("@tavorin-planner.invalid");
}

QString fileNameOf(const QString &uid)
{
    return uid.section(u'@', 0, 0) + QStringLiteral(".ics");
}

} // namespace

QString uidFor(const QString &key)
{
    const QDate date = NoteKey::parse(key).value_or(NoteKey::Parts{}).date;
    // A day's name that no key can be: "day/2024-03-06".
    return date.isValid() ? hashedUid(QStringLiteral("day/") + date.toString(Qt::ISODate)) : hashedUid(key);
}

QString fileNameFor(const QString &key)
{
    return fileNameOf(uidFor(key));
}

QString keyUidFor(const QString &key)
{
    return hashedUid(key);
}

QString keyFileNameFor(const QString &key)
{
    return fileNameOf(keyUidFor(key));
}

QString nearestCssName(qint32 color)
{
    if (!BgrColor::isOrdinary(color))
        return {};
    const BgrColor::Rgb rgb = BgrColor::toRgb(color);
    QString nearest;
    int best = std::numeric_limits<int>::max();
    for (const QString &name : QColor::colorNames()) {
        const QColor c(name);
        const int distance = (c.red() - rgb.red) * (c.red() - rgb.red) + (c.green() - rgb.green) * (c.green() - rgb.green)
                             + (c.blue() - rgb.blue) * (c.blue() - rgb.blue);
        if (distance < best && name != u"transparent") {
            best = distance;
            nearest = name;
        }
    }
    return nearest;
}

QByteArray journalText(const Note &note, const QDateTime &stamp, const QStringList &versions, const QString &uid)
{
    return entryText(note, stamp, versions, Form::Journal, uid);
}

QByteArray entryText(const Note &note, const QDateTime &stamp, const QStringList &versions, Form form, const QString &uid)
{
    // libical writes no readable date past the year 3000: such a note goes
    // without one (and as a journal entry), as an undated note does.
    const bool dated = note.date().isValid() && note.date().year() <= LastYearOfLibical;
    const bool event = form == Form::Event && dated;
    const Component entry(icalcomponent_new(event ? ICAL_VEVENT_COMPONENT : ICAL_VJOURNAL_COMPONENT));
    icalcomponent_set_uid(entry.get(), (uid.isEmpty() ? uidFor(note.key) : uid).toUtf8().constData());
    icalcomponent_set_dtstamp(entry.get(), icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone()));
    if (dated) {
        icalcomponent_set_dtstart(entry.get(), dateValue(note.date()));
        if (event) { // the whole day, shown above the day's hours, never as busy
            icalcomponent_set_dtend(entry.get(), dateValue(note.date().addDays(1)));
            icalcomponent_add_property(entry.get(), icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
        }
    }
    const QString text = carriable(note.text);
    if (!text.trimmed().isEmpty()) {
        icalcomponent_set_summary(entry.get(), firstLine(text).toUtf8().constData());
        icalcomponent_set_description(entry.get(), text.toUtf8().constData());
    }
    if (const auto color = note.colorValue()) {
        const QString name = nearestCssName(*color);
        if (!name.isEmpty())
            icalcomponent_add_property(entry.get(), icalproperty_new_color(name.toUtf8().constData()));
        addX(entry.get(), ColorProperty, QString::number(*color));
    }
    addX(entry.get(), KeyProperty, note.key);
    if (needsExactCopy(note.text))
        addX(entry.get(), ExactTextProperty, QString::fromLatin1(note.text.toUtf8().toBase64()));
    if (!versions.isEmpty())
        addX(entry.get(), VersionsProperty, versions.join(u' '));
    return textOf(entry.get());
}

// An empty calendar as libical writes it: its opening lines, then its end.
QByteArray emptyCalendar()
{
    const Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(calendar.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_prodid("-//Quillmere//Tavorin Planner//EN"));
    icalcomponent_add_property(calendar.get(), icalproperty_new_calscale("GREGORIAN"));
    return textOf(calendar.get());
}

QByteArray calendarBegin()
{
    const QByteArray calendar = emptyCalendar();
    return calendar.left(calendar.size() - calendarEnd().size());
}

QByteArray calendarEnd()
{
    static const QByteArray end = [] {
        const QByteArray calendar = emptyCalendar();
        return calendar.mid(calendar.lastIndexOf("END:VCALENDAR"));
    }();
    return end;
}

QByteArray calendarText(const Note &note, const QDateTime &stamp, const QStringList &versions, Form form, const QString &uid)
{
    return calendarBegin() + entryText(note, stamp, versions, form, uid) + calendarEnd();
}

QList<Entry> parse(const QByteArray &calendar, qsizetype maxBytes)
{
    try {
        ICalendarShape::check(calendar, maxBytes);
    } catch (const Failure &failure) {
        throw unreadable(failure.description());
    }
    const Component root(icalparser_parse_string(calendar.constData()));
    if (!root)
        throw unreadable(QCoreApplication::translate("NoteJournal", "it is cut short or is no calendar at all"));
    if (icalcomponent_count_errors(root.get()) > 0)
        throw unreadable(firstError(root.get()));
    QList<Entry> entries;
    const auto wanted = [](icalcomponent *c) {
        const icalcomponent_kind kind = icalcomponent_isa(c);
        return kind == ICAL_VJOURNAL_COMPONENT || (kind == ICAL_VEVENT_COMPONENT && xValue(c, KeyProperty));
    };
    if (wanted(root.get()))
        entries << entryOf(root.get());
    for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_ANY_COMPONENT); c;
         c = icalcomponent_get_next_component(root.get(), ICAL_ANY_COMPONENT)) {
        if (wanted(c))
            entries << entryOf(c);
    }
    return entries;
}

} // namespace NoteJournal
