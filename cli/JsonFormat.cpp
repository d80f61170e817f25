// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonFormat.h"

#include "cli/Note.h"
#include "settings/Settings.h"

#include <QJsonDocument>
#include <QJsonObject>

QByteArray JsonFormat::begin()
{
    const QJsonObject names{{QStringLiteral("application"), Settings::Application},
                            {QStringLiteral("section"), Settings::Section}};
    QByteArray head = QJsonDocument(names).toJson(QJsonDocument::Compact);
    head.chop(1); // the closing brace: the notes follow
    return head + ",\"notes\":[";
}

QByteArray JsonFormat::note(const Note &note)
{
    const QJsonObject object{
        {QStringLiteral("key"), note.key},
        {QStringLiteral("month"), note.monthText},
        {QStringLiteral("year"), note.yearText},
        {QStringLiteral("day"), note.day},
        {QStringLiteral("date"), note.date.isValid() ? QJsonValue(note.date.toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("text"), note.text},
        {QStringLiteral("color"), note.color ? QJsonValue(*note.color) : QJsonValue()},
    };
    const QByteArray separator = m_first ? "\n" : ",\n";
    m_first = false;
    return separator + QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray JsonFormat::end()
{
    return "\n]}\n";
}
