// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NoteJournal.h"

#include "cli/NoteCatalogue.h"
#include "platform/DateNames.h"
#include "platform/Numbers.h"
#include "settings/Settings.h"

#include <QColor>
#include <QCryptographicHash>

#include <libical/ical.h>

#include <limits>
#include <memory>

namespace {

const char KeyProperty[] = "X-TAVORIN-KEY";
const char ColorProperty[] = "X-TAVORIN-COLOR";
const char ExactTextProperty[] = "X-TAVORIN-TEXT";

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

QString firstLine(const QString &text)
{
    for (const QString &line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return QString();
}

void addX(icalcomponent *component, const char *name, const QString &value)
{
    icalproperty *property = icalproperty_new_x(value.toUtf8().constData());
    icalproperty_set_x_name(property, name);
    icalcomponent_add_property(component, property);
}

QString xValue(icalcomponent *component, const char *name)
{
    for (icalproperty *p = icalcomponent_get_first_property(component, ICAL_X_PROPERTY); p;
         p = icalcomponent_get_next_property(component, ICAL_X_PROPERTY)) {
        if (qstricmp(icalproperty_get_x_name(p), name) == 0)
            return QString::fromUtf8(icalproperty_get_x(p));
    }
    return QString();
}

QString textProperty(icalcomponent *component, icalproperty_kind kind)
{
    icalproperty *p = icalcomponent_get_first_property(component, kind);
    return p ? QString::fromUtf8(icalvalue_get_text(icalproperty_get_value(p))) : QString();
}

JournalNote noteOf(icalcomponent *journal)
{
    JournalNote note;
    note.key = xValue(journal, KeyProperty);
    note.uid = QString::fromUtf8(icalcomponent_get_uid(journal));
    note.text = textProperty(journal, ICAL_DESCRIPTION_PROPERTY);
    if (note.text.isEmpty())
        note.text = textProperty(journal, ICAL_SUMMARY_PROPERTY);
    // The exact copy counts only while it still says what the description says:
    // another program that edits the description leaves the copy behind.
    const QString exact = QString::fromUtf8(QByteArray::fromBase64(xValue(journal, ExactTextProperty).toLatin1()));
    if (!exact.isEmpty() && carriable(exact) == note.text)
        note.text = exact;
    note.colorText = xValue(journal, ColorProperty);
    if (note.colorText.isEmpty()) {
        if (icalproperty *p = icalcomponent_get_first_property(journal, ICAL_COLOR_PROPERTY)) {
            const QColor color(QString::fromUtf8(icalproperty_get_color(p)));
            if (color.isValid())
                note.colorText = QString::number(color.red() | color.green() << 8 | color.blue() << 16);
        }
    }
    if (icalcomponent_get_first_property(journal, ICAL_DTSTART_PROPERTY)) {
        const icaltimetype start = icalcomponent_get_dtstart(journal);
        note.date = QDate(start.year, start.month, start.day);
    }
    if (note.key.isEmpty() && note.date.isValid())
        note.key = NoteJournal::keyForDay(note.date);
    else if (!note.key.isEmpty())
        note.date = NoteJournal::fromKey(note.key, {}, {}).date;
    return note;
}

} // namespace

namespace NoteJournal {

QString uidFor(const QString &key)
{
    const QByteArray hash = QCryptographicHash::hash((Settings::Application + u'/' + Settings::Section + u'/' + key).toUtf8(), QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex()) + QStringLiteral("@tavorin-planner.invalid");
}

JournalNote fromKey(const QString &key, const QString &text, const QString &colorText)
{
    JournalNote note{key, text, colorText, {}, uidFor(key)};
    if (const auto parsed = NoteCatalogue::fromKey(key))
        note.date = parsed->date; // the catalogue reads month names of every language
    return note;
}

QString keyForDay(const QDate &date)
{
    return Settings::noteTextKey(DateNames::fullMonthName(date.month()), QString::number(date.year()), date.day() - 1);
}

QString nearestCssName(qint32 color)
{
    if (color < 0 || color > 0xFFFFFF)
        return {};
    const int r = color & 0xFF, g = color >> 8 & 0xFF, b = color >> 16 & 0xFF;
    QString nearest;
    int best = std::numeric_limits<int>::max();
    for (const QString &name : QColor::colorNames()) {
        const QColor c(name);
        const int distance = (c.red() - r) * (c.red() - r) + (c.green() - g) * (c.green() - g) + (c.blue() - b) * (c.blue() - b);
        if (distance < best && name != u"transparent") {
            best = distance;
            nearest = name;
        }
    }
    return nearest;
}

QByteArray journalText(const JournalNote &note, const QDateTime &stamp, bool withExactCopy)
{
    const Component journal(icalcomponent_new(ICAL_VJOURNAL_COMPONENT));
    const QString uid = note.uid.isEmpty() ? uidFor(note.key) : note.uid;
    icalcomponent_set_uid(journal.get(), uid.toUtf8().constData());
    icalcomponent_set_dtstamp(journal.get(), icaltime_from_timet_with_zone(stamp.toSecsSinceEpoch(), 0, icaltimezone_get_utc_timezone()));
    if (note.date.isValid()) {
        icaltimetype day = icaltime_null_date();
        day.year = note.date.year();
        day.month = note.date.month();
        day.day = note.date.day();
        icalcomponent_set_dtstart(journal.get(), day);
    }
    const QString text = carriable(note.text);
    icalcomponent_set_summary(journal.get(), firstLine(text).toUtf8().constData());
    icalcomponent_set_description(journal.get(), text.toUtf8().constData());
    if (const auto color = Numbers::parseInt32(note.colorText)) {
        const QString name = nearestCssName(*color);
        if (!name.isEmpty())
            icalcomponent_add_property(journal.get(), icalproperty_new_color(name.toUtf8().constData()));
    }
    if (!note.colorText.isEmpty())
        addX(journal.get(), ColorProperty, note.colorText);
    addX(journal.get(), KeyProperty, note.key);
    if (withExactCopy && text != note.text)
        addX(journal.get(), ExactTextProperty, QString::fromLatin1(note.text.toUtf8().toBase64()));
    return textOf(journal.get());
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

QByteArray calendarText(const JournalNote &note, const QDateTime &stamp)
{
    return calendarBegin() + journalText(note, stamp) + calendarEnd();
}

QList<JournalNote> parse(const QByteArray &calendar)
{
    const Component root(icalparser_parse_string(calendar.constData()));
    QList<JournalNote> notes;
    if (!root)
        return notes;
    auto take = [&](icalcomponent *journal) {
        JournalNote note = noteOf(journal);
        if (!note.key.isEmpty())
            notes.append(note);
    };
    if (icalcomponent_isa(root.get()) == ICAL_VJOURNAL_COMPONENT)
        take(root.get());
    for (icalcomponent *c = icalcomponent_get_first_component(root.get(), ICAL_VJOURNAL_COMPONENT); c;
         c = icalcomponent_get_next_component(root.get(), ICAL_VJOURNAL_COMPONENT))
        take(c);
    return notes;
}

} // namespace NoteJournal
