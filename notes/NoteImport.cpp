// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteImport.h"

#include "notes/NoteJournal.h"
#include "platform/BgrColor.h"
#include "platform/Failure.h"
#include "platform/Numbers.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QHash>
#include <QJsonObject>

namespace NoteImport {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("NoteImport", text);
}

void add(Entries &entries, const QString &key, const QString &text, const QString &color)
{
    const bool storable = Note::isStorableColor(color);
    auto note = Note::fromKey(key, text, storable ? color : QString());
    if (!note) {
        entries.skipped << tr("skipped the entry \"%1\": that is not the key of a note.").arg(key.left(80));
        return;
    }
    entries.notes << *note;
    if (!color.isEmpty() && !storable)
        entries.skipped << tr("skipped the colour \"%1\" of %2: that is no colour the planner can store.").arg(color.left(40), key.left(80));
}

Entries fromJson(const QJsonDocument &document)
{
    Entries entries;
    for (const QJsonValue &value : document.object().value(QStringLiteral("notes")).toArray()) {
        const QJsonObject note = value.toObject();
        const QJsonValue color = note.value(QStringLiteral("color"));
        add(entries, note.value(QStringLiteral("key")).toString(), note.value(QStringLiteral("text")).toString(),
            color.isDouble() ? QString::number(color.toInteger()) : QString());
    }
    return entries;
}

Entries fromCalendar(const QByteArray &bytes)
{
    Entries entries;
    for (const NoteJournal::Entry &entry : NoteJournal::parse(bytes, ICalendarShape::MaxFileBytes)) {
        const QString key = entry.noteKey();
        if (key.isEmpty() && entry.isOurs())
            entries.skipped << tr("skipped the entry \"%1\": that is not the key of a note.").arg(entry.key.left(80));
        else if (!key.isEmpty())
            add(entries, key, entry.textOver(QString()), entry.color);
    }
    return entries;
}

} // namespace

Entries readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(tr("Cannot read %1: %2.").arg(path, file.errorString()));
    // Read by the piece: a pipe or a device names no size, and may not end.
    QByteArray bytes;
    while (bytes.size() <= ICalendarShape::MaxFileBytes) {
        const QByteArray piece = file.read(64 * 1024);
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > ICalendarShape::MaxFileBytes)
        throw Failure(tr("%1 is larger than %2 MB: not imported.").arg(path).arg(ICalendarShape::MaxFileBytes / (1024 * 1024)));
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && json.isObject())
        return fromJson(json);
    if (!bytes.trimmed().startsWith("BEGIN:VCALENDAR"))
        throw Failure(tr("%1 is neither an iCalendar file nor a JSON export of the notes.").arg(path));
    try {
        return fromCalendar(bytes);
    } catch (const Failure &failure) {
        throw Failure(QStringLiteral("%1: %2").arg(path, failure.description()));
    }
}

QList<Change> apply(const QString &storePath, const QList<Note> &notes, bool dryRun)
{
    SettingsStore store(storePath);
    QList<Change> changes;
    store.inTransaction([&] {
        QHash<QString, QString> made; // the texts this import gave notes so far
        for (const Note &entry : notes) {
            const auto earlier = made.constFind(entry.key);
            const QString before = earlier != made.cend() ? *earlier
                                 : store.read(Settings::Application, Settings::Section, entry.key).value_or(QString());
            if (entry.text.isEmpty() || before.contains(entry.text))
                continue;
            const QString colorKey = NoteKey::colorOf(entry.key);
            Change change{entry, !before.isEmpty()};
            change.note.text = before.isEmpty() ? entry.text : before + u'\n' + entry.text;
            if (store.read(Settings::Application, Settings::Section, colorKey).has_value() || earlier != made.cend())
                change.note.color.clear(); // the note's own colour stays
            made.insert(entry.key, change.note.text);
            changes << change;
            if (dryRun)
                continue;
            store.save(Settings::Application, Settings::Section, change.note.key, change.note.text);
            if (!change.note.color.isEmpty())
                store.save(Settings::Application, Settings::Section, colorKey, change.note.color);
        }
    });
    return changes;
}

} // namespace NoteImport
