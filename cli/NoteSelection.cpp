// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NoteSelection.h"

#include "cli/Console.h"
#include "cli/Options.h"
#include "notes/NoteCatalogue.h"
#include "settings/StoreFile.h"

#include <QCommandLineParser>

namespace {

// A date given as YYYY-MM-DD, or YYYY-MM for format "yyyy-MM"; invalid for anything else.
QDate dateOf(const QString &text, const QString &format)
{
    return text.size() == format.size() ? QDate::fromString(text, format) : QDate();
}

} // namespace

bool NoteSelection::take(const Command::Call &call, const Command &command)
{
    if (const QString error = read(call.parser); !error.isEmpty()) {
        command.usageError(call.console, error);
        return false;
    }
    if (call.parser.isSet(Options::output()))
        call.console.output().redirectTo(call.parser.value(Options::output()));
    return true;
}

// Takes --from, --to and --month; the text of a usage error, or nothing.
QString NoteSelection::read(const QCommandLineParser &parser)
{
    for (const QCommandLineOption &option : {Options::from(), Options::to()}) {
        if (!parser.isSet(option))
            continue;
        const QString name = option.names().first();
        const QDate date = dateOf(parser.value(option), QStringLiteral("yyyy-MM-dd"));
        if (!date.isValid())
            return tr("--%1 needs a date as YYYY-MM-DD, not \"%2\".").arg(name, parser.value(option));
        (name == QLatin1String("from") ? m_from : m_to) = date;
    }
    if (parser.isSet(Options::month())) {
        if (m_from.isValid() || m_to.isValid())
            return tr("--month cannot be combined with --from or --to.");
        m_from = dateOf(parser.value(Options::month()), QStringLiteral("yyyy-MM"));
        if (!m_from.isValid())
            return tr("--month needs a month as YYYY-MM, not \"%1\".").arg(parser.value(Options::month()));
        m_to = m_from.addMonths(1).addDays(-1);
    }
    if (m_from.isValid() && m_to.isValid() && m_from > m_to)
        return tr("--from %1 is after --to %2.").arg(m_from.toString(Qt::ISODate), m_to.toString(Qt::ISODate));
    return QString();
}

QList<Note> NoteSelection::notes(const QString &storePath) const
{
    StoreFile store(storePath, StoreFile::Access::ReadOnly);
    store.checkTable();
    QList<Note> notes = NoteCatalogue::read(store);
    if (m_from.isValid() || m_to.isValid()) {
        notes.removeIf([this](const Note &note) {
            return !note.date().isValid() || (m_from.isValid() && note.date() < m_from) || (m_to.isValid() && note.date() > m_to);
        });
    }
    return notes;
}
