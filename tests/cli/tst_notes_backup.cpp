#include "NotesFixture.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <sqlite3.h>

namespace {

// A connection of the test's own, as another program (or a planner) holds one.
class Connection
{
public:
    explicit Connection(const QString &path)
    {
        sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    }
    ~Connection() { sqlite3_close_v2(m_db); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    int execute(const QString &sql) { return sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr); }

private:
    sqlite3 *m_db = nullptr;
};

const char CreateTable[] = "CREATE TABLE settings(application TEXT NOT NULL, section TEXT NOT NULL, key TEXT NOT NULL, "
                           "value TEXT NOT NULL, PRIMARY KEY (application, section, key))";

QString insertNote(const QString &key, const QString &text)
{
    return QStringLiteral("INSERT INTO settings VALUES ('Quillmere', 'Tavorin Planner', '%1', '%2')").arg(key, text);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QStringList filesIn(const QString &folder, const QString &pattern)
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
}

QString noteKey(const char *month, const char *year, int cell)
{
    return Settings::noteTextKey(QString::fromUtf8(month), QString::fromUtf8(year), cell);
}

} // namespace

// "backup" and "restore": consistent copies while the planner runs, private
// files, and a restore that never makes things worse.
class NotesBackupTest : public QObject
{
    Q_OBJECT

private slots:
    void backupWhileAWriterHoldsATransaction();
    void backupReplacesAFileWithAPrivateCopy();
    void backupIntoAMissingFolder();
    void restoreWhileThePlannerRuns();
    void restoreKeepsEveryFormerStore();
    void restoreCreatesAMissingStore();
    void restoreFromAnotherPageSize();
    void restoreReplacesAnUnreadableStore();
    void restoreRefuses_data();
    void restoreRefuses();
    void longWorkReportsProgress_data();
    void longWorkReportsProgress();

private:
    QTemporaryDir m_samples;
};

void NotesBackupTest::backupWhileAWriterHoldsATransaction()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "committed");
    Connection writer(fixture.storePath());
    QCOMPARE(writer.execute("BEGIN IMMEDIATE"), SQLITE_OK);
    QCOMPARE(writer.execute(insertNote(noteKey("August", "2021", 6), "uncommitted")), SQLITE_OK);
    const QString copy = fixture.path("copy.sqlite3");

    const auto result = fixture.run({"backup", copy});

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.err, QByteArray());
    QCOMPARE(NotesFixture::contents(copy).value(noteKey("August", "2021", 5)), "committed");
    QVERIFY(!NotesFixture::contents(copy).contains(noteKey("August", "2021", 6)));
    QCOMPARE(NotesFixture::modeOf(copy), 0600);
    QCOMPARE(writer.execute("COMMIT"), SQLITE_OK); // the writer never noticed
    QCOMPARE(NotesFixture::contents(fixture.storePath()).value(noteKey("August", "2021", 6)), "uncommitted");
}

void NotesBackupTest::backupReplacesAFileWithAPrivateCopy()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    const QString copy = fixture.path("backups/notes.sqlite3");
    QVERIFY(writeFile(copy, "an older backup, readable by all\n"));
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                    | QFileDevice::ReadOther);

    const auto result = fixture.run({"backup", copy});

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(NotesFixture::contents(copy), NotesFixture::contents(fixture.storePath()));
    QCOMPARE(NotesFixture::modeOf(copy), 0600);
    QCOMPARE(filesIn(fixture.path("backups"), "*part*"), QStringList());
    QCOMPARE(fixture.run({"--store", copy, "list"}).exitCode, 0);
}

void NotesBackupTest::backupIntoAMissingFolder()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    const QString copy = fixture.path("no such folder/copy.sqlite3");

    const auto result = fixture.run({"backup", copy});

    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.err.contains(copy.toUtf8()), result.err.constData());
    QVERIFY(!QFileInfo::exists(fixture.path("no such folder")));
}

void NotesBackupTest::restoreWhileThePlannerRuns()
{
    NotesFixture copySource;
    copySource.putNote("August", "2021", 5, "restored note");
    copySource.putNote("May", "2022", 0, "only in the copy");
    copySource.closeStore();
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "note before the restore");
    fixture.putNote("June", "2022", 0, "only before the restore");
    SettingsStore planner(fixture.storePath());
    QCOMPARE(planner.read(Settings::Application, Settings::Section, noteKey("August", "2021", 5)),
             "note before the restore");

    const auto result = fixture.run({"restore", copySource.storePath()});

    QCOMPARE(result.exitCode, 0);
    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    const QStringList kept = filesIn(folder, "settings.sqlite3.before-restore-*");
    QCOMPARE(kept.size(), 1);
    QVERIFY(QRegularExpression("^settings\\.sqlite3\\.before-restore-\\d{8}-\\d{6}$").match(kept.first()).hasMatch());
    QVERIFY2(result.err.contains(kept.first().toUtf8()), result.err.constData());
    const QString keptPath = folder + u'/' + kept.first();
    QCOMPARE(NotesFixture::modeOf(keptPath), 0600);
    QCOMPARE(NotesFixture::contents(keptPath).value(noteKey("June", "2022", 0)), "only before the restore");

    // The running planner reads the restored notes and goes on writing.
    QCOMPARE(planner.read(Settings::Application, Settings::Section, noteKey("August", "2021", 5)), "restored note");
    QCOMPARE(planner.read(Settings::Application, Settings::Section, noteKey("June", "2022", 0)), std::nullopt);
    planner.save(Settings::Application, Settings::Section, noteKey("May", "2022", 1), "typed after the restore");
    const auto notes = NotesFixture::contents(fixture.storePath());
    QCOMPARE(notes.value(noteKey("May", "2022", 0)), "only in the copy");
    QCOMPARE(notes.value(noteKey("May", "2022", 1)), "typed after the restore");
    Connection check(fixture.storePath());
    QCOMPARE(check.execute("PRAGMA integrity_check"), SQLITE_OK);
}

void NotesBackupTest::restoreKeepsEveryFormerStore()
{
    NotesFixture copySource;
    copySource.putNote("August", "2021", 5, "restored note");
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "note before the restore");

    QCOMPARE(fixture.run({"restore", copySource.storePath()}).exitCode, 0);
    QCOMPARE(fixture.run({"restore", copySource.storePath()}).exitCode, 0); // likely within the same second

    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    const QStringList kept = filesIn(folder, "settings.sqlite3.before-restore-*");
    QCOMPARE(kept.size(), 2);
    QCOMPARE(NotesFixture::contents(folder + u'/' + kept.first()).value(noteKey("August", "2021", 5)),
             "note before the restore");
}

void NotesBackupTest::restoreCreatesAMissingStore()
{
    NotesFixture copySource;
    copySource.putNote("August", "2021", 5, "restored note");
    const NotesFixture fixture; // a user without a store yet

    const auto result = fixture.run({"restore", copySource.storePath()});

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(NotesFixture::contents(fixture.storePath()).value(noteKey("August", "2021", 5)), "restored note");
    QCOMPARE(NotesFixture::modeOf(fixture.storePath()), 0600);
    QCOMPARE(filesIn(QFileInfo(fixture.storePath()).absolutePath(), "*before-restore*"), QStringList());
}

void NotesBackupTest::restoreFromAnotherPageSize()
{
    const QString copy = m_samples.filePath("small-pages.sqlite3");
    {
        Connection made(copy);
        QCOMPARE(made.execute("PRAGMA page_size = 1024"), SQLITE_OK);
        QCOMPARE(made.execute(CreateTable), SQLITE_OK);
        QCOMPARE(made.execute(insertNote(noteKey("August", "2021", 5), "from a copy made elsewhere")), SQLITE_OK);
    }
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "note before the restore");

    const auto result = fixture.run({"restore", copy});

    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(NotesFixture::contents(fixture.storePath()).value(noteKey("August", "2021", 5)),
             "from a copy made elsewhere");
}

void NotesBackupTest::restoreReplacesAnUnreadableStore()
{
    NotesFixture copySource;
    copySource.putNote("August", "2021", 5, "restored note");
    const NotesFixture fixture;
    const QByteArray garbage(8192, '\x5a');
    QVERIFY(writeFile(fixture.storePath(), garbage));

    const auto result = fixture.run({"restore", copySource.storePath()});

    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(NotesFixture::contents(fixture.storePath()).value(noteKey("August", "2021", 5)), "restored note");
    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    const QStringList kept = filesIn(folder, "settings.sqlite3.before-restore-*");
    QCOMPARE(kept.size(), 1);
    QCOMPARE(NotesFixture::fileBytes(folder + u'/' + kept.first()), garbage);
    QCOMPARE(NotesFixture::modeOf(fixture.storePath()), 0600);
}

void NotesBackupTest::restoreRefuses_data()
{
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("store"); // empty: the fixture's usual store

    // A sound store of several pages, to be spoilt in different ways.
    NotesFixture good;
    for (int cell = 0; cell < 31; ++cell)
        good.putNote("August", "2021", cell, QString(1000, QChar(u'a' + cell % 26)));
    good.closeStore();
    const QByteArray sound = NotesFixture::fileBytes(good.storePath());
    QVERIFY(sound.size() >= 6 * 4096);

    const auto sample = [this](const char *name, const QByteArray &bytes) {
        const QString path = m_samples.filePath(QString::fromUtf8(name));
        return writeFile(path, bytes) ? path : QString();
    };
    QByteArray damagedPage = sound;
    damagedPage.replace(2 * 4096, 64, QByteArray(64, '\xab'));
    {
        Connection other(m_samples.filePath("other.sqlite3"));
        QCOMPARE(other.execute("CREATE TABLE settings(name TEXT, value TEXT)"), SQLITE_OK);
    }

    QTest::newRow("missing file") << m_samples.filePath("missing.sqlite3") << QString();
    QTest::newRow("text file") << sample("text.sqlite3", "August 6: dentist\n") << QString();
    QTest::newRow("empty file") << sample("empty.sqlite3", "") << QString();
    QTest::newRow("database of another program") << m_samples.filePath("other.sqlite3") << QString();
    QTest::newRow("damaged page") << sample("damaged.sqlite3", damagedPage) << QString();
    QTest::newRow("cut short") << sample("short.sqlite3", sound.left(3 * 4096)) << QString();
    QTest::newRow("the store itself") << QString() << QString();
    QTest::newRow("into a database of another program")
        << sample("good.sqlite3", sound) << m_samples.filePath("other.sqlite3");
}

void NotesBackupTest::restoreRefuses()
{
    QFETCH(QString, copy);
    QFETCH(QString, store);
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "note before the restore");
    fixture.closeStore();
    if (store.isEmpty())
        store = fixture.storePath();
    if (copy.isEmpty())
        copy = store;
    const QByteArray before = NotesFixture::fileBytes(store);

    const auto result = fixture.run({"--store", store, "restore", copy});

    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.err.contains(copy.toUtf8()) || result.err.contains(store.toUtf8()), result.err.constData());
    QCOMPARE(NotesFixture::fileBytes(store), before);
    QCOMPARE(filesIn(QFileInfo(store).absolutePath(), "*before-restore*"), QStringList());
}

void NotesBackupTest::longWorkReportsProgress_data()
{
    QTest::addColumn<bool>("toTerminal"); // standard error is a terminal
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("progress");

    QTest::newRow("on a terminal") << true << QStringList{} << true;
    QTest::newRow("into a log") << false << QStringList{} << false;
    QTest::newRow("on a terminal, quiet") << true << QStringList{"--quiet"} << false;
    QTest::newRow("on a terminal, -q") << true << QStringList{"-q"} << false;
}

void NotesBackupTest::longWorkReportsProgress()
{
    QFETCH(bool, toTerminal);
    QFETCH(QStringList, options);
    QFETCH(bool, progress);
    NotesFixture fixture;
    fixture.put("Text1", "2021"); // creates the store
    fixture.closeStore();
    {
        Connection writer(fixture.storePath());
        QCOMPARE(writer.execute("BEGIN"), SQLITE_OK);
        for (int i = 0; i < 2500; ++i)
            QCOMPARE(writer.execute(insertNote(QStringLiteral("Note%1_2021_txtNote_0").arg(i), QString(3000, u'x'))),
                     SQLITE_OK);
        QCOMPARE(writer.execute("COMMIT"), SQLITE_OK);
    }

    NotesStreams streams;
    streams.errorToTerminal = toTerminal;
    const auto backup = fixture.run(QStringList{"backup", fixture.path("copy.sqlite3")} + options, {}, streams);
    const auto exported = fixture.run(QStringList{"export", "--format", "json"} + options, {}, streams);

    QCOMPARE(backup.exitCode, 0);
    QCOMPARE(exported.exitCode, 0);
    if (!progress) {
        QCOMPARE(backup.err, QByteArray());
        QCOMPARE(exported.err, QByteArray());
        return;
    }
    QVERIFY2(QRegularExpression("copied pages: \\d+ of (\\d+) \\(\\d\\d%\\)\n.*copied pages: (\\1) of \\1 \\(100%\\)\n$",
                                QRegularExpression::DotMatchesEverythingOption)
                 .match(QString::fromUtf8(backup.err))
                 .hasMatch(),
             backup.err.constData());
    QVERIFY2(exported.err.contains("exported notes: 1250 of 2500 (50%)\n")
                 && exported.err.endsWith("exported notes: 2500 of 2500 (100%)\n"),
             exported.err.constData());
}

QTEST_GUILESS_MAIN(NotesBackupTest)
#include "tst_notes_backup.moc"
