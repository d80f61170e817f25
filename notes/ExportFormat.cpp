// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/ExportFormat.h"

#include "notes/ICalendarFormat.h"
#include "notes/JsonFormat.h"
#include "notes/MarkdownFormat.h"

QStringList ExportFormat::names()
{
    return {QStringLiteral("markdown"), QStringLiteral("json"), QStringLiteral("ics")};
}

std::unique_ptr<ExportFormat> ExportFormat::create(const QString &name, const QDateTime &now)
{
    if (name == QLatin1String("markdown"))
        return std::make_unique<MarkdownFormat>();
    if (name == QLatin1String("json"))
        return std::make_unique<JsonFormat>();
    if (name == QLatin1String("ics"))
        return std::make_unique<ICalendarFormat>(now);
    return nullptr;
}
