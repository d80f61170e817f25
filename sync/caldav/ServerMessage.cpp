// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/caldav/ServerMessage.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

namespace ServerMessage {

namespace {

// Enough for a reason; a page of HTML is no message.
constexpr qsizetype MaxWords = 300;
// The body read at most, whatever the server sent.
constexpr qsizetype MaxBody = 64 * 1024;

// The element names and texts of an XML or HTML body, in order; empty when
// it is no well-formed markup.
QString markupWords(const QByteArray &body)
{
    QXmlStreamReader xml(body);
    QStringList words;
    bool inError = false;
    int skipped = 0; // inside <head>, <script> or <style>
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == u"head" || name == u"script" || name == u"style")
                ++skipped;
            if (inError && skipped == 0)
                words << name.toString(); // a precondition: its name is the reason
            if (name == u"error")
                inError = true;
        } else if (xml.isEndElement()) {
            const auto name = xml.name();
            if (name == u"head" || name == u"script" || name == u"style")
                --skipped;
        } else if (xml.isCharacters() && !xml.isWhitespace() && skipped == 0) {
            words << xml.text().toString().simplified();
        }
    }
    if (xml.hasError())
        return QString();
    return words.join(u' ');
}

} // namespace

QString wordsOf(const QByteArray &body)
{
    const QByteArray head = body.left(MaxBody);
    QString words = QString::fromUtf8(head);
    if (head.trimmed().startsWith('<')) {
        const QString read = markupWords(head);
        // HTML that is no XML (an unclosed <br>): its text between the tags.
        words = !read.isEmpty() ? read : words.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    }
    return oneLine(words, MaxWords);
}

QString oneLine(const QString &text, qsizetype maxChars)
{
    QString line = text.left(maxChars * 8);
    for (QChar &c : line) {
        if (!c.isPrint())
            c = u' ';
    }
    line = line.simplified();
    return line.size() > maxChars ? line.left(maxChars) + u'…' : line;
}

QString describe(int status, const QByteArray &body)
{
    const QString words = wordsOf(body);
    return words.isEmpty() ? QStringLiteral("HTTP %1").arg(status) : QStringLiteral("HTTP %1: %2").arg(status).arg(words);
}

} // namespace ServerMessage
