// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestEnvironment.h"

#include "platform/UnhandledFailures.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"

#include <QLocale>
#include <sqlite3.h>

namespace TestEnvironment {

void useEnglishNames()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

namespace {

class Recorder : public MessageBox::Presenter
{
public:
    explicit Recorder(QList<ShownMessage> *messages) : m_messages(messages) {}
    void present(const QString &title, const QString &text, int style) override
    {
        m_messages->append({title, text, style});
    }

private:
    QList<ShownMessage> *m_messages;
};

} // namespace

RecordedMessages::RecordedMessages()
    : m_messages(new QList<ShownMessage>)
{
    m_previous = MessageBox::setPresenter(std::make_unique<Recorder>(m_messages));
    UnhandledFailures::endRun(); // a run of failures left by an earlier test is not this one's
}

RecordedMessages::~RecordedMessages()
{
    MessageBox::setPresenter(std::move(m_previous));
    delete m_messages;
}

const QList<ShownMessage> &RecordedMessages::shown() const
{
    return *m_messages;
}

PrivateStore::PrivateStore()
    : m_path(m_folder.filePath(QStringLiteral("Quillmere/settings.sqlite3"))),
      m_writes(std::make_shared<QList<std::pair<QString, QString>>>())
{
    Settings::useStoreAt(m_path);
    Settings::store().setWriteObserver([writes = m_writes](const QString &key, const QString &value) {
        writes->append({key, value});
    });
}

PrivateStore::~PrivateStore()
{
    if (Settings::store().path() == m_path)
        Settings::useStoreAt(QString());
}

QStringList PrivateStore::writtenKeys() const
{
    QStringList keys;
    for (const auto &[key, value] : *m_writes)
        keys << key;
    return keys;
}

void PrivateStore::put(const QString &key, const QString &value)
{
    Settings::store().save(Settings::Application, Settings::Section, key, value);
    m_writes->clear();
}

QMap<QString, QString> PrivateStore::contents() const
{
    QMap<QString, QString> values;
    try {
        const Sqlite::Database db(QFile::encodeName(m_path), SQLITE_OPEN_READONLY);
        Sqlite::Statement select(db, "SELECT key, value FROM settings", QStringLiteral("Cannot read"));
        while (select.step(QStringLiteral("Cannot read")))
            values.insert(select.text(0), select.text(1));
    } catch (const Failure &) {
        // A store that cannot be read shows what was read of it: nothing, or the rows before the failure.
    }
    return values;
}

} // namespace TestEnvironment
