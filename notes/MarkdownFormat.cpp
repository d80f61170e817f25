// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/MarkdownFormat.h"

#include "notes/Note.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

// Any ASCII punctuation may be escaped with a backslash, which keeps month
// and year texts of any kind literal in a heading.
QString escaped(const QString &text)
{
    QString result;
    for (QChar c : text) {
        if (c.unicode() < 128 && (c.isPunct() || c.isSymbol()))
            result += u'\\';
        result += c;
    }
    return result;
}

// A fence longer than any run of backticks in the text.
QString fenceFor(const QString &text)
{
    static const QRegularExpression backticks(QStringLiteral("`+"));
    qsizetype longest = 0;
    for (const auto &match : backticks.globalMatch(text))
        longest = std::max(longest, match.capturedLength());
    return QString(std::max<qsizetype>(3, longest + 1), u'`');
}

} // namespace

// The headings are for people, so they are in the user's language.
QByteArray MarkdownFormat::begin()
{
    return QStringLiteral("# %1\n").arg(QCoreApplication::translate("MarkdownFormat", "Tavorin Planner notes")).toUtf8();
}

QByteArray MarkdownFormat::note(const Note &note)
{
    const QString heading = note.date().isValid()
        ? note.date().toString(Qt::ISODate)
        : escaped(QCoreApplication::translate("MarkdownFormat", "%1 %2, day %3 (no date)")
                      .arg(note.parts.monthText, note.parts.yearText)
                      .arg(note.parts.day));
    // A document for people: lines end as Markdown tools expect.
    const QString text = QString(note.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QString fence = fenceFor(text);
    return QStringLiteral("\n## %1\n\n%2\n%3\n%2\n").arg(heading, fence, text).toUtf8();
}
