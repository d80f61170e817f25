// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NoteListing.h"

#include "cli/Console.h"

#include <QStringList>

namespace NoteListing {

namespace {

// A note's text on one line: "\" written "\\", tab "\t", line break "\n",
// carriage return "\r" and any other control character "\xHH", so that
// nothing in a note can move a terminal's cursor or change its colours.
QString escapedForLine(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': result += QStringLiteral("\\\\"); break;
        case u'\t': result += QStringLiteral("\\t"); break;
        case u'\n': result += QStringLiteral("\\n"); break;
        case u'\r': result += QStringLiteral("\\r"); break;
        default:
            if (c.category() == QChar::Other_Control)
                result += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
            else
                result += c;
        }
    }
    return result;
}

// Month and year as the key holds them, which may be anything typed.
QByteArray lineOf(const Note &note)
{
    const QString date = note.date().isValid() ? note.date().toString(Qt::ISODate) : QStringLiteral("-");
    // Lines of a note written on another system end in CR LF: shown as one line break.
    const QString text = QString(note.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return QStringList{date, escapedForLine(note.parts.monthText), escapedForLine(note.parts.yearText),
                       QString::number(note.parts.day), escapedForLine(text)}
               .join(u'\t')
               .toUtf8()
           + '\n';
}

} // namespace

void print(const QList<Note> &notes, Console &console)
{
    for (const Note &note : notes)
        console.write(lineOf(note));
}

} // namespace NoteListing
