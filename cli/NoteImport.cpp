// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NoteImport.h"

#include "platform/Failure.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sqlite3.h>

#include <memory>

namespace {

struct DatabaseCloser { void operator()(sqlite3 *db) const { sqlite3_close_v2(db); } };
struct StatementFinalizer { void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); } };
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

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

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// The store opened for one write transaction of the import.
class ImportTransaction
{
public:
    explicit ImportTransaction(const QString &path)
        : m_path(path)
    {
        sqlite3 *db = nullptr;
        const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        m_db.reset(db);
        if (code != SQLITE_OK)
            fail();
        sqlite3_busy_timeout(db, SettingsStore::BusyTimeoutMs);
        execute("BEGIN IMMEDIATE");
    }
    ~ImportTransaction()
    {
        if (m_open)
            sqlite3_exec(m_db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    }

    std::optional<QString> value(const QString &key)
    {
        Statement statement = prepare("SELECT value FROM settings WHERE application = ?1 AND section = ?2 AND key = ?3");
        bindKey(statement.get(), key);
        if (sqlite3_step(statement.get()) != SQLITE_ROW)
            return std::nullopt;
        return QString::fromUtf8(static_cast<const char *>(sqlite3_column_blob(statement.get(), 0)), sqlite3_column_bytes(statement.get(), 0));
    }
    void save(const QString &key, const QString &value)
    {
        Statement statement = prepare("INSERT INTO settings(application, section, key, value) VALUES (?1, ?2, ?3, ?4) "
                                      "ON CONFLICT(application, section, key) DO UPDATE SET value = excluded.value");
        bindKey(statement.get(), key);
        bindText(statement.get(), 4, value);
        if (sqlite3_step(statement.get()) != SQLITE_DONE)
            fail();
    }
    void commit()
    {
        execute("COMMIT");
        m_open = false;
    }

private:
    void bindKey(sqlite3_stmt *statement, const QString &key)
    {
        bindText(statement, 1, Settings::Application);
        bindText(statement, 2, Settings::Section);
        bindText(statement, 3, key);
    }
    Statement prepare(const char *sql)
    {
        sqlite3_stmt *raw = nullptr;
        if (sqlite3_prepare_v2(m_db.get(), sql, -1, &raw, nullptr) != SQLITE_OK)
            fail();
        return Statement(raw);
    }
    void execute(const char *sql)
    {
        if (sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail();
        m_open = true;
    }
    [[noreturn]] void fail()
    {
        throw Failure(QCoreApplication::translate("NoteImport", "Cannot import into the notes store %1: %2; nothing was changed.")
                          .arg(m_path, QString::fromUtf8(m_db ? sqlite3_errmsg(m_db.get()) : "out of memory")));
    }

    QString m_path;
    Database m_db;
    bool m_open = false;
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
        const QString colorKey = NoteJournal::colorKeyOf(entry.key);
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
