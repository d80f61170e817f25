// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/JsonFormat.h"

#include "notes/Note.h"
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
        {QStringLiteral("month"), note.parts.monthText},
        {QStringLiteral("year"), note.parts.yearText},
        {QStringLiteral("day"), note.parts.day},
        {QStringLiteral("date"), note.date().isValid() ? QJsonValue(note.date().toString(Qt::ISODate)) : QJsonValue()},
        {QStringLiteral("text"), note.text},
        {QStringLiteral("color"), note.colorValue() ? QJsonValue(*note.colorValue()) : QJsonValue()},
    };
    const QByteArray separator = m_first ? "\n" : ",\n";
    m_first = false;
    return separator + QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray JsonFormat::end()
{
    return "\n]}\n";
}
