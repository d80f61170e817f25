// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExportFormat.h"

#include "cli/ICalendarFormat.h"
#include "cli/JsonFormat.h"
#include "cli/MarkdownFormat.h"

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
