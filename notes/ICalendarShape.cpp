// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ICalendarShape.h"

#include "platform/Failure.h"

#include <QCoreApplication>
#include <QList>

namespace ICalendarShape {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ICalendarShape", text);
}

struct Open
{
    QByteArray name;
    qsizetype line;
};

// Follows BEGIN and END of one unfolded line; start is what the line begins
// with (enough for its name), number its first physical line.
void follow(QList<Open> &open, const QByteArray &start, qsizetype number)
{
    const QByteArray upper = start.toUpper();
    const bool begins = upper.startsWith("BEGIN:");
    if (!begins && !upper.startsWith("END:"))
        return;
    const QByteArray name = upper.mid(upper.indexOf(':') + 1).trimmed();
    if (begins) {
        if (open.size() == MaxDepth)
            throw Failure(tr("line %1: components nested deeper than %2").arg(number).arg(MaxDepth));
        open.append({name, number});
        return;
    }
    if (open.isEmpty() || open.last().name != name)
        throw Failure(open.isEmpty() ? tr("line %1: END:%2 without its BEGIN").arg(number).arg(QString::fromLatin1(name.left(40)))
                                     : tr("line %1: END:%2 where END:%3 of line %4 belongs")
                                           .arg(number).arg(QString::fromLatin1(name.left(40)), QString::fromLatin1(open.last().name.left(40)))
                                           .arg(open.last().line));
    open.removeLast();
}

} // namespace

void check(const QByteArray &text, qsizetype maxBytes)
{
    if (text.size() > maxBytes)
        throw Failure(tr("it is larger than %1 MB").arg(maxBytes / (1024 * 1024)));
    QList<Open> open;
    QByteArray start;        // the first bytes of the unfolded line
    qsizetype length = 0;    // its length so far
    qsizetype first = 0;     // its first physical line
    qsizetype number = 0;
    for (qsizetype at = 0; at < text.size();) {
        qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            end = text.size();
        QByteArrayView line = QByteArrayView(text).sliced(at, end - at);
        if (line.endsWith('\r'))
            line.chop(1);
        ++number;
        at = end + 1;
        if (!line.isEmpty() && (line.front() == ' ' || line.front() == '\t')) {
            length += line.size();
            if (start.size() < 64)
                start.append(line.sliced(1).first(qMin<qsizetype>(64, line.size() - 1)));
        } else {
            follow(open, start, first);
            start = line.first(qMin<qsizetype>(64, line.size())).toByteArray();
            length = line.size();
            first = number;
        }
        if (length > MaxLineBytes)
            throw Failure(tr("line %1 is longer than %2 MB").arg(first).arg(MaxLineBytes / (1024 * 1024)));
    }
    follow(open, start, first);
    if (!open.isEmpty())
        throw Failure(tr("line %1: BEGIN:%2 has no END:%2").arg(open.last().line).arg(QString::fromLatin1(open.last().name.left(40))));
}

} // namespace ICalendarShape
