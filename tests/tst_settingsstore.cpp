// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlannerStart.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "platform/Failure.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

QByteArray fileDigest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void runSql(const QString &path, const char *sql)
{
    const Sqlite::Database db(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    QCOMPARE(sqlite3_exec(db.handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK);
}

mode_t modeOf(const QString &path)
{
    struct stat info{};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

const QString App = Settings::Application;
const QString Sec = Settings::Section;

} // namespace

// The store keeps every value exactly, across a reopen, and never touches a
// file that is not a store of its own.
class SettingsStoreTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    QString storePath() const { return m_folder.filePath(QStringLiteral("Quillmere/settings.sqlite3")); }

private slots:
    void init()
    {
        for (const QString &copy : SafetyCopies::existingCopies(storePath()))
            QFile::remove(copy);
        QFile::remove(storePath());
        QFile::remove(storePath() + "-wal");
        QFile::remove(storePath() + "-shm");
    }

    void valuesComeBackExactlyAfterReopen_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("year") << "Text1" << "2021";
        QTest::newRow("empty text") << "August_2021_txtNote_5" << "";
        QTest::newRow("CR LF pairs") << "August_2021_txtNote_6" << "Dentist 9:30\r\nbring forms\r\n";
        QTest::newRow("lone line feeds") << "August_2021_txtNote_7" << "a\nb\n\n";
        QTest::newRow("unicode") << QString::fromUtf8("Август_2021_txtNote_0") << QString::fromUtf8("Zahnarzt 🦷 — ß, 東京");
        QTest::newRow("quotes and SQL") << "k'; DROP TABLE settings; --" << "it's \"quoted\"";
        QTest::newRow("NUL inside") << "nul" << QString::fromUtf16(u"a\u0000b", 3);
        QTest::newRow("blanks kept") << " 2021_txtNote_1" << "  padded  ";
        QTest::newRow("a megabyte") << "big" << QString(1024 * 1024, u'x');
    }
    void valuesComeBackExactlyAfterReopen()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        SettingsStore(storePath()).save(App, Sec, key, value);
        const auto read = SettingsStore(storePath()).read(App, Sec, key);
        QVERIFY(read.has_value());
        QCOMPARE(*read, value);
    }

    void emptyTextIsNotAnAbsentKey()
    {
        SettingsStore store(storePath());
        store.save(App, Sec, "cleared", "");
        QCOMPARE(store.read(App, Sec, "cleared"), std::optional<QString>(QString()));
        QCOMPARE(store.read(App, Sec, "never"), std::nullopt);
    }

    void laterValueReplacesEarlier()
    {
        SettingsStore store(storePath());
        store.save(App, Sec, "Text1", "2");
        store.save(App, Sec, "Text1", "20");
        QCOMPARE(*store.read(App, Sec, "Text1"), QString("20"));
    }

    void addressPartsAreCaseSensitiveAndSeparate()
    {
        SettingsStore store(storePath());
        store.save(App, Sec, "Forecolor", "255");
        QCOMPARE(store.read(App, Sec, "forecolor"), std::nullopt);
        QCOMPARE(store.read(App, "Other Section", "Forecolor"), std::nullopt);
        QCOMPARE(store.read("Other", Sec, "Forecolor"), std::nullopt);
    }

    void getSettingDefaults()
    {
        Settings::useStoreAt(storePath());
        QCOMPARE(GetSetting(App, Sec, "Text1", 2026), QString("2026"));
        QCOMPARE(GetSetting(App, Sec, "August_2021_txtNote_0"), QString());
        SaveSetting(App, Sec, "Text1", "");
        QCOMPARE(GetSetting(App, Sec, "Text1", 2026), QString());
        Settings::useStoreAt(QString());
    }

    void newStoreIsPrivateWhateverTheUmask()
    {
        const mode_t previous = ::umask(0);
        SettingsStore(storePath()).save(App, Sec, "Text1", "2021");
        ::umask(previous);
        QCOMPARE(modeOf(QFileInfo(storePath()).absolutePath()), mode_t(0700));
        QCOMPARE(modeOf(storePath()), mode_t(0600));
    }

    void usesWalWithFullSync()
    {
        SettingsStore(storePath()).save(App, Sec, "Text1", "2021");
        const Sqlite::Database db(QFile::encodeName(storePath()), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        Sqlite::Statement statement(db, "PRAGMA journal_mode", QStringLiteral("Cannot read"));
        QVERIFY(statement.step(QStringLiteral("Cannot read")));
        QCOMPARE(statement.text(0), QStringLiteral("wal"));
    }

    // A file that is not a store of ours is reported by name and left byte for byte.
    void foreignFilesAreReportedAndLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("sql");
        QByteArray noise(8192, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("random bytes") << noise << QString();
        QTest::newRow("text file") << QByteArray("my notes\n") << QString();
        QTest::newRow("truncated header") << QByteArray("SQLite format 3\0\x10\0", 19) << QString();
        QTest::newRow("no settings table") << QByteArray() << "CREATE TABLE other(a, b)";
        QTest::newRow("wrong column")
            << QByteArray()
            << "CREATE TABLE settings(application TEXT, section TEXT, name TEXT, value TEXT, "
               "PRIMARY KEY(application, section, name))";
        QTest::newRow("no primary key")
            << QByteArray() << "CREATE TABLE settings(application TEXT, section TEXT, key TEXT, value TEXT)";
    }
    void foreignFilesAreReportedAndLeftAlone()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, sql);
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        if (sql.isEmpty()) {
            QFile file(storePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        } else {
            runSql(storePath(), sql.toUtf8().constData());
        }
        const QByteArray before = fileDigest(storePath());

        SettingsStore store(storePath());
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                store.save(App, Sec, "Text1", "2021");
                QFAIL("a foreign file was written to");
            } catch (const Failure &failure) {
                QVERIFY2(failure.description().contains(storePath()), qPrintable(failure.description()));
            }
        }
        QVERIFY_THROWS_EXCEPTION(Failure, store.read(App, Sec, "Text1"));
        QCOMPARE(fileDigest(storePath()), before);
        QVERIFY(!QFile::exists(storePath() + "-wal"));
    }

    // An empty file (a first start cut short) becomes a store.
    void emptyFileBecomesAStore()
    {
        QDir().mkpath(QFileInfo(storePath()).absolutePath());
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SettingsStore(storePath()).save(App, Sec, "Text1", "2021");
        QCOMPARE(*SettingsStore(storePath()).read(App, Sec, "Text1"), QString("2021"));
    }

    // A damaged page is found by the whole-file check when a tool opens the
    // store. The planner checks after its window shows instead, and not at all
    // once the day's safety copy exists (made only of a store that passed):
    // an undamaged part is then read as usual.
    void wholeFileCheckRunsUntilTheDaysCopyExists()
    {
        FixedToday::set(QDate(2021, 8, 15));
        SettingsStore(storePath()).save(App, Sec, "Text1", "2021");
        int damagedPage = 0;
        {
            Sqlite::Database db(QFile::encodeName(storePath()), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            db.execute("CREATE TABLE other(x); INSERT INTO other VALUES (zeroblob(3000))", QStringLiteral("Cannot write"));
            Sqlite::Statement statement(db, "SELECT rootpage FROM sqlite_master WHERE name = 'other'",
                                        QStringLiteral("Cannot read"));
            statement.stepToRow(QStringLiteral("Cannot read"));
            damagedPage = int(statement.integer(0));
        }
        QVERIFY(damagedPage > 1);
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(qint64(damagedPage - 1) * 4096);
        file.write(QByteArray(4096, '\x5a'));
        file.close();

        QVERIFY_THROWS_EXCEPTION(Failure, SettingsStore(storePath()).read(App, Sec, "Text1"));
        QFile copy(SafetyCopies::copyPath(storePath(), QDate(2021, 8, 15)));
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.close();
        TestEnvironment::RecordedMessages messages;
        Settings::useStoreAt(storePath());
        Form1 form;
        startPlanner(form);
        QCOMPARE(messages.shown().size(), 0);
        QCOMPARE(form.panel1()->yearText(), QString("2021"));
        Settings::useStoreAt(QString());
        FixedToday::clear();
    }

    // The start-up's reads share one look at the file; a write among them is
    // stored at once all the same, and the reads after it see it.
    void writeAmongBatchedReadsIsStoredAtOnce()
    {
        SettingsStore store(storePath());
        store.save(App, Sec, "Text1", "2020");
        store.beginReadBatch();
        QCOMPARE(*store.read(App, Sec, "Text1"), QString("2020"));
        store.save(App, Sec, "Text1", "2021");
        QCOMPARE(*SettingsStore(storePath()).read(App, Sec, "Text1"), QString("2021"));
        QCOMPARE(*store.read(App, Sec, "Text1"), QString("2021"));
        store.endReadBatch();
    }

    // A second copy of the planner holding the store locked is waited for up to
    // the busy timeout; the write then goes through.
    void secondConnectionDoesNotFailWrites()
    {
        SettingsStore first(storePath());
        SettingsStore second(storePath());
        first.save(App, Sec, "Text1", "2021");
        second.save(App, Sec, "Text2", "2022");
        first.save(App, Sec, "Text1", "2023");
        QCOMPARE(*second.read(App, Sec, "Text1"), QString("2023"));
        QCOMPARE(*first.read(App, Sec, "Text2"), QString("2022"));
    }

    // A write that fails while another copy holds the lock is reported; the
    // store works again once the lock is gone.
    void lockedStoreFailsClearlyAndRecovers()
    {
        SettingsStore store(storePath());
        store.save(App, Sec, "Text1", "2021");
        Sqlite::Database other(QFile::encodeName(storePath()), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        QCOMPARE(sqlite3_exec(other.handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
        try {
            store.save(App, Sec, "Text1", "2022");
            QFAIL("a locked store accepted a write");
        } catch (const Failure &failure) {
            QVERIFY(failure.description().contains(storePath()));
            QVERIFY2(failure.description().contains("locked"), qPrintable(failure.description()));
        }
        other.executeIgnoringFailure("ROLLBACK");
        store.save(App, Sec, "Text1", "2022");
        QCOMPARE(*store.read(App, Sec, "Text1"), QString("2022"));
    }

    void writeObserverSeesWritesInOrder()
    {
        SettingsStore store(storePath());
        QStringList seen;
        store.setWriteObserver([&seen](const QString &key, const QString &) { seen << key; });
        store.save(App, Sec, "a", "1");
        store.save(App, Sec, "b", "2");
        QCOMPARE(seen, QStringList({"a", "b"}));
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "tst_settingsstore.moc"
