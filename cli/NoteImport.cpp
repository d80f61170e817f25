// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NoteImport.h"

#include "platform/Failure.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>
#include <sqlite3.h>

namespace {

QList<JournalNote> fromJson(const QJsonDocument &document)
{
    QList<JournalNote> entries;
    for (const QJsonValue &value : document.object().value(QStringLiteral("notes")).toArray()) {
        const QJsonObject note = value.toObject();
        const QJsonValue color = note.value(QStringLiteral("color"));
        entries << NoteJournal::fromKey(note.value(QStringLiteral("key")).toString(), note.value(QStringLiteral("text")).toString(),
                                        color.isDouble() ? QString::number(color.toInteger()) : QString());
    }
    return entries;
}

// The store opened for one write transaction of the import.
class ImportTransaction
{
public:
    explicit ImportTransaction(const QString &path)
        : m_db(openInTransaction(path)),
          m_select(m_db, "SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3", {}),
          m_upsert(m_db,
                   "INSERT INTO settings(application, section, key, value) VALUES (?1, ?2, ?3, ?4) "
                   "ON CONFLICT(application, section, key) DO UPDATE SET value = excluded.value",
                   {})
    {
    }
    ~ImportTransaction()
    {
        if (m_open)
            m_db.executeIgnoringFailure("ROLLBACK");
    }

    std::optional<QString> value(const QString &key)
    {
        bindKey(m_select, key);
        std::optional<QString> found;
        if (m_select.step({}))
            found = m_select.text(0);
        m_select.reset();
        return found;
    }
    void save(const QString &key, const QString &value)
    {
        bindKey(m_upsert, key);
        m_upsert.bind(4, value);
        m_upsert.run({});
        m_upsert.reset();
    }
    void commit()
    {
        m_db.execute("COMMIT", {});
        m_open = false;
    }

private:
    // Every failure, of the open as of any statement, reads the same and gives SQLite's reason.
    static Sqlite::Database openInTransaction(const QString &path)
    {
        const auto throwFailure = [path](const QString &, const QString &reason, int) {
            throw Failure(QCoreApplication::translate("NoteImport", "Cannot import into the notes store %1: %2; nothing was changed.")
                              .arg(path, reason));
        };
        Sqlite::Database db(QFile::encodeName(path), SQLITE_OPEN_READWRITE, throwFailure, {});
        db.setBusyTimeout(SettingsStore::BusyTimeoutMs);
        db.execute("BEGIN IMMEDIATE", {});
        return db;
    }
    static void bindKey(Sqlite::Statement &statement, const QString &key)
    {
        statement.bind(1, Settings::Application);
        statement.bind(2, Settings::Section);
        statement.bind(3, key);
    }

    Sqlite::Database m_db; // in its transaction from the start; a failed prepare closes it, which rolls back
    Sqlite::Statement m_select;
    Sqlite::Statement m_upsert;
    bool m_open = true;
};

} // namespace

namespace NoteImport {

QList<JournalNote> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QCoreApplication::translate("NoteImport", "Cannot read %1: %2.").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(bytes, &error);
    if (error.error == QJsonParseError::NoError && json.isObject())
        return fromJson(json);
    if (!bytes.trimmed().startsWith("BEGIN:VCALENDAR"))
        throw Failure(QCoreApplication::translate("NoteImport", "%1 is neither an iCalendar file nor a JSON export of the notes.").arg(path));
    return NoteJournal::parse(bytes);
}

QList<Change> apply(const QString &storePath, const QList<JournalNote> &entries, bool dryRun)
{
    SettingsStore(storePath).read(Settings::Application, Settings::Section, Settings::NoteColorKey); // makes a missing store
    ImportTransaction store(storePath);
    QList<Change> changes;
    for (const JournalNote &entry : entries) {
        const QString before = store.value(entry.key).value_or(QString());
        if (entry.text.isEmpty() || before.contains(entry.text))
            continue;
        const QString colorKey = Settings::noteColorKeyOf(entry.key);
        const bool keepColor = store.value(colorKey).has_value() || entry.colorText.isEmpty();
        Change change{entry.key, before.isEmpty() ? entry.text : before + u'\n' + entry.text, keepColor ? QString() : entry.colorText,
                      !before.isEmpty()};
        store.save(change.key, change.text);
        if (!change.color.isEmpty())
            store.save(colorKey, change.color);
        changes << change;
    }
    if (!dryRun)
        store.commit();
    return changes;
}

} // namespace NoteImport
