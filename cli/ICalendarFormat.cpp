#include "cli/ICalendarFormat.h"

#include "cli/Note.h"

#include <QCryptographicHash>

namespace {

constexpr int MaxLineOctets = 75;

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Stable for a key, so that importing a newer export updates the entries
// of an earlier one instead of adding them twice.
QString uidFor(const QString &key)
{
    const QByteArray hash = QCryptographicHash::hash("Quillmere/Tavorin Planner/" + key.toUtf8(),
                                                     QCryptographicHash::Sha1);
    return QString::fromLatin1(hash.toHex()) + QStringLiteral("@tavorin-planner.invalid");
}

QString firstLine(const QString &text)
{
    for (const QString &line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return QString();
}

} // namespace

ICalendarFormat::ICalendarFormat(const QDateTime &now)
    : m_stamp(now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")))
{
}

QByteArray ICalendarFormat::begin()
{
    return contentLine(QStringLiteral("BEGIN:VCALENDAR")) + contentLine(QStringLiteral("VERSION:2.0"))
           + contentLine(QStringLiteral("PRODID:-//Quillmere//Tavorin Planner//EN"))
           + contentLine(QStringLiteral("CALSCALE:GREGORIAN"));
}

QByteArray ICalendarFormat::note(const Note &note)
{
    if (!note.date.isValid()) {
        m_undated << note.key;
        return {};
    }
    return contentLine(QStringLiteral("BEGIN:VJOURNAL")) + contentLine(QStringLiteral("UID:") + uidFor(note.key))
           + contentLine(QStringLiteral("DTSTAMP:") + m_stamp)
           + contentLine(QStringLiteral("DTSTART;VALUE=DATE:") + note.date.toString(QStringLiteral("yyyyMMdd")))
           + contentLine(QStringLiteral("SUMMARY:") + escapedText(firstLine(note.text)))
           + contentLine(QStringLiteral("DESCRIPTION:") + escapedText(note.text))
           + contentLine(QStringLiteral("END:VJOURNAL"));
}

QByteArray ICalendarFormat::end()
{
    return contentLine(QStringLiteral("END:VCALENDAR"));
}

QStringList ICalendarFormat::warnings() const
{
    QStringList result;
    for (const QString &key : m_undated)
        result << tr("skipped the note \"%1\": its key names no date.").arg(key);
    return result;
}

QByteArray ICalendarFormat::contentLine(const QString &line)
{
    const QByteArray octets = line.toUtf8();
    QByteArray folded;
    int width = 0;
    for (qsizetype start = 0; start < octets.size();) {
        qsizetype end = start + 1;
        while (end < octets.size() && isContinuationByte(octets.at(end)))
            ++end;
        if (width + (end - start) > MaxLineOctets) {
            folded += "\r\n ";
            width = 1; // the space that marks a continuation counts too
        }
        folded += octets.mid(start, end - start);
        width += int(end - start);
        start = end;
    }
    return folded + "\r\n";
}

QString ICalendarFormat::escapedText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': result += QStringLiteral("\\\\"); break;
        case u';': result += QStringLiteral("\\;"); break;
        case u',': result += QStringLiteral("\\,"); break;
        case u'\n': result += QStringLiteral("\\n"); break;
        case u'\t': result += c; break;
        default:
            // TEXT allows no other control characters (a lone CR among them).
            if (c.unicode() >= 0x20 && c.unicode() != 0x7F)
                result += c;
        }
    }
    return result;
}
