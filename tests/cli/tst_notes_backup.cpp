// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include "notes/NoteKey.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"
#include "settings/StoreUseLock.h"
#include "sync/SyncState.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <optional>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A connection of the test's own, as another program (or a planner) holds one.
class Connection
{
public:
    explicit Connection(const QString &path)
        : m_db(QFile::encodeName(path), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE)
    {
    }

    // SQLite's result code, which the cases compare.
    int execute(const QString &sql) { return sqlite3_exec(m_db.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr); }
    QString text(const char *sql)
    {
        Sqlite::Statement statement(m_db, sql, QStringLiteral("Cannot read"));
        statement.stepToRow(QStringLiteral("Cannot read"));
        return statement.text(0);
    }

private:
    Sqlite::Database m_db;
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
    return NoteKey::text(QString::fromUtf8(month), QString::fromUtf8(year), cell);
}

// The journal mode a copy opens in: "delete" can be read in any folder, "wal" not.
QString journalModeOf(const QString &path)
{
    return Connection(path).text("PRAGMA journal_mode");
}

// A file's type and identity, to show that a refused target is untouched.
QString fileIdentity(const QString &path)
{
    struct stat info{};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("none");
    return QStringLiteral("%1 %2 %3 %4").arg(info.st_mode).arg(info.st_ino).arg(info.st_size).arg(info.st_mtim.tv_nsec);
}

// A sync state beside the store, in which the note of key went up as it was.
void syncedBefore(const QString &storePath, const QString &key)
{
    SyncState(SyncState::pathBeside(storePath)).setEntry(key, {.href = "/tavorin-planner/1.ics", .etag = "\"1\"", .base = Note::fromKey(key, "synced")});
}

// Whether the sync state beside the store takes the note of key as restored.
bool syncTakesAsRestored(const QString &storePath, const QString &key)
{
    return SyncState(SyncState::pathBeside(storePath)).entry(key).value().restored;
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
    void backupRefuses_data();
    void backupRefuses();
    void copiesReadWhereTheyCannotBeWritten();
    void restoreWhileThePlannerRuns();
    void restoreKeepsTheNewestFormerStores();
    void restoreCreatesAMissingStore();
    void restoreFromAnotherPageSize();
    void restoreReplacesAnUnreadableStore();
    void restoreRefuses_data();
    void restoreRefuses();
    void moveLanguage_data();
    void moveLanguage();
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
    QCOMPARE(journalModeOf(copy), "delete");

    // Through a link, the file it points to is replaced and the link stays.
    QVERIFY(QFile::link(copy, fixture.path("backups/latest")));
    fixture.putNote("August", "2021", 6, "haircut");
    QCOMPARE(fixture.run({"backup", fixture.path("backups/latest")}).exitCode, 0);
    QVERIFY(QFileInfo(fixture.path("backups/latest")).isSymLink());
    QCOMPARE(NotesFixture::contents(copy).value(noteKey("August", "2021", 6)), "haircut");
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

void NotesBackupTest::backupRefuses_data()
{
    QTest::addColumn<QString>("target"); // relative names are in the fixture's folder; "STORE" is the store's path

    QTest::newRow("standard output") << "-";
    QTest::newRow("a device") << "/dev/null";
    QTest::newRow("a link to a device") << "/dev/stdout";
    QTest::newRow("a named pipe") << "pipe";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("a link to nothing") << "dangling";
    QTest::newRow("the store") << "STORE";
    QTest::newRow("the store's -wal file") << "STORE-wal";
    QTest::newRow("the store's -shm file") << "STORE-shm";
    QTest::newRow("the store's -journal name") << "STORE-journal";
    QTest::newRow("a link to the store's -wal file") << "link-to-wal";
    QTest::newRow("a hard link to the store") << "hard-link";
    QTest::newRow("a safety copy") << "STORE.2026-12-08.bak";
}

void NotesBackupTest::backupRefuses()
{
    QFETCH(QString, target);
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist"); // stays open, as a running planner's store
    QVERIFY(QFileInfo::exists(fixture.storePath() + "-wal"));
    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), QDate(2026, 12, 8)));
    QVERIFY(::mkfifo(QFile::encodeName(fixture.path("pipe")).constData(), 0600) == 0);
    QVERIFY(QDir().mkpath(fixture.path("folder")));
    QVERIFY(QFile::link(fixture.path("nowhere/file"), fixture.path("dangling")));
    QVERIFY(QFile::link(fixture.storePath() + "-wal", fixture.path("link-to-wal")));
    QVERIFY(::link(QFile::encodeName(fixture.storePath()).constData(), QFile::encodeName(fixture.path("hard-link")).constData()) == 0);
    target.replace("STORE", fixture.storePath());
    if (target != "-" && QFileInfo(target).isRelative())
        target = fixture.path(target);
    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    const QStringList namesBefore = filesIn(folder, "*");
    const QString before = fileIdentity(target);
    const QByteArray wal = NotesFixture::fileBytes(fixture.storePath() + "-wal");

    const auto result = fixture.run({"backup", target});

    QCOMPARE(result.exitCode, 3);
    QVERIFY2(result.err.contains(target.toUtf8()) || target == "-", result.err.constData());
    QCOMPARE(fileIdentity(target), before);
    QCOMPARE(filesIn(folder, "*"), namesBefore);
    QCOMPARE(filesIn(fixture.path(""), "*part*"), QStringList());
    QCOMPARE(NotesFixture::fileBytes(fixture.storePath() + "-wal"), wal);
    fixture.putNote("August", "2021", 6, "still stored");
    QCOMPARE(NotesFixture::contents(fixture.storePath()).value(noteKey("August", "2021", 5)), "dentist");
}

void NotesBackupTest::copiesReadWhereTheyCannotBeWritten()
{
    if (::geteuid() == 0)
        QSKIP("folder modes do not stop root");
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    fixture.closeStore();
    QVERIFY(QDir().mkpath(fixture.path("shelf")));
    QCOMPARE(fixture.run({"backup", fixture.path("shelf/backup.sqlite3")}).exitCode, 0);
    // A store copied with cp keeps WAL mode, which SQLite cannot read without writing beside it.
    QVERIFY(QFile::copy(fixture.storePath(), fixture.path("shelf/copied.sqlite3")));
    QVERIFY(QFile::setPermissions(fixture.path("shelf"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    const auto fromBackup = fixture.run({"--store", fixture.path("shelf/backup.sqlite3"), "list"});
    const auto fromCopied = fixture.run({"--store", fixture.path("shelf/copied.sqlite3"), "list"});
    QFile::setPermissions(fixture.path("shelf"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QVERIFY2(fromBackup.exitCode == 0 && fromBackup.out.contains("dentist"), fromBackup.err.constData());
    QVERIFY2(fromCopied.exitCode == 0 && fromCopied.out.contains("dentist"), fromCopied.err.constData());
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
    const StoreUseLock shown(fixture.storePath(), StoreUseLock::Use::Planner);
    QCOMPARE(planner.read(Settings::Application, Settings::Section, noteKey("August", "2021", 5)),
             "note before the restore");
    syncedBefore(fixture.storePath(), noteKey("August", "2021", 5));

    const auto result = fixture.run({"restore", "--force", copySource.storePath()});

    QCOMPARE(result.exitCode, 0);
    // The next sync merges the restored note with the server's instead of putting it over that.
    QVERIFY(syncTakesAsRestored(fixture.storePath(), noteKey("August", "2021", 5)));
    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    const QStringList kept = filesIn(folder, "settings.sqlite3.before-restore-*");
    QCOMPARE(kept.size(), 1);
    QVERIFY(QRegularExpression("^settings\\.sqlite3\\.before-restore-\\d{8}-\\d{6}$").match(kept.first()).hasMatch());
    QVERIFY2(result.err.contains(kept.first().toUtf8()), result.err.constData());
    const QString keptPath = folder + u'/' + kept.first();
    QCOMPARE(NotesFixture::modeOf(keptPath), 0600);
    QCOMPARE(NotesFixture::contents(keptPath).value(noteKey("June", "2022", 0)), "only before the restore");
    QCOMPARE(journalModeOf(keptPath), "delete");

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

void NotesBackupTest::restoreKeepsTheNewestFormerStores()
{
    NotesFixture copySource;
    copySource.putNote("August", "2021", 5, "restored note");
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "note before the restore");

    QCOMPARE(fixture.run({"restore", copySource.storePath()}).exitCode, 0);
    QCOMPARE(fixture.run({"restore", copySource.storePath()}).exitCode, 0); // likely within the same second

    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    QStringList kept = filesIn(folder, "settings.sqlite3.before-restore-*");
    QCOMPARE(kept.size(), 2);
    QCOMPARE(NotesFixture::contents(folder + u'/' + kept.first()).value(noteKey("August", "2021", 5)),
             "note before the restore");

    // Many restores keep the newest seven: the oldest, of the note before the first, goes.
    for (int run = 0; run < 7; ++run) {
        const auto quiet = fixture.run({"-q", "restore", copySource.storePath()});
        QCOMPARE(quiet.exitCode, 0);
        QCOMPARE(quiet.err, QByteArray());
    }
    kept = filesIn(folder, "settings.sqlite3.before-restore-*");
    QCOMPARE(kept.size(), 7);
    for (const QString &name : kept)
        QCOMPARE(NotesFixture::contents(folder + u'/' + name).value(noteKey("August", "2021", 5)), "restored note");
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
    QVERIFY(!QFile::exists(SyncState::pathBeside(fixture.storePath()))); // restore makes no sync state
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
    const QString scratch = fixture.path("tmp");
    QVERIFY(QDir().mkpath(scratch));
    QProcessEnvironment environment;
    environment.insert("TMPDIR", scratch);

    const auto result = fixture.run({"restore", copy}, environment);

    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(NotesFixture::contents(fixture.storePath()).value(noteKey("August", "2021", 5)),
             "from a copy made elsewhere");
    QCOMPARE(filesIn(scratch, "*"), QStringList()); // nothing a killed restore could leave behind
    QCOMPARE(filesIn(QFileInfo(fixture.storePath()).absolutePath(), "*part*"), QStringList());
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
    QTest::addColumn<QString>("holder"); // what else has the store open: "", "planner", "exclusive lock"
    QTest::addColumn<QByteArray>("says"); // part of the message, besides the file's name

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

    // Sound stores with our table that are still no copy to restore.
    const auto madeCopy = [this](const char *name, const QStringList &statements) {
        const QString path = m_samples.filePath(QString::fromUtf8(name));
        Connection made(path);
        made.execute(CreateTable);
        for (const QString &statement : statements)
            made.execute(statement);
        return path;
    };
    const QString goodCopy = sample("good.sqlite3", sound);
    const QString note = insertNote(noteKey("August", "2021", 5), "from the copy");

    const QString none;
    QTest::newRow("missing file") << m_samples.filePath("missing.sqlite3") << none << none << QByteArray();
    QTest::newRow("text file") << sample("text.sqlite3", "August 6: dentist\n") << none << none << QByteArray();
    QTest::newRow("empty file") << sample("empty.sqlite3", "") << none << none << QByteArray();
    QTest::newRow("database of another program") << m_samples.filePath("other.sqlite3") << none << none << QByteArray();
    QTest::newRow("damaged page") << sample("damaged.sqlite3", damagedPage) << none << none << QByteArray();
    QTest::newRow("cut short") << sample("short.sqlite3", sound.left(3 * 4096)) << none << none << QByteArray();
    QTest::newRow("the store itself") << none << none << none << QByteArray();
    QTest::newRow("into a database of another program")
        << goodCopy << m_samples.filePath("other.sqlite3") << none << QByteArray();
    QTest::newRow("a copy with a trigger")
        << madeCopy("trigger.sqlite3", {note, "CREATE TRIGGER wipe AFTER UPDATE ON settings BEGIN DELETE FROM settings; END"})
        << none << none << QByteArray("triggers");
    QTest::newRow("a copy with a view") << madeCopy("view.sqlite3", {note, "CREATE VIEW v AS SELECT 1"}) << none
                                        << none << QByteArray("views");
    QTest::newRow("a copy with another table") << madeCopy("table.sqlite3", {note, "CREATE TABLE t(x)"}) << none
                                               << none << QByteArray("tables");
    QTest::newRow("a copy of another program's rows only")
        << madeCopy("rows.sqlite3", {"INSERT INTO settings VALUES ('Other', 'Tool', 'Width', '80')"}) << none << none
        << QByteArray("holds 0 notes, the store holds 31");
    QTest::newRow("a copy with far fewer notes") << madeCopy("few.sqlite3", {note}) << none << none
                                                 << QByteArray("holds 1 notes, the store holds 31");
    QTest::newRow("a store a planner shows") << goodCopy << none << "planner" << QByteArray("--force");
    QTest::newRow("a store another program holds locked") << goodCopy << none << "exclusive lock"
                                                          << QByteArray("locked");
}

void NotesBackupTest::restoreRefuses()
{
    QFETCH(QString, copy);
    QFETCH(QString, store);
    QFETCH(QString, holder);
    QFETCH(QByteArray, says);
    NotesFixture fixture;
    fixture.putNotes("August", "2021", QStringList(31, "note before the restore"));
    fixture.closeStore();
    if (store.isEmpty())
        store = fixture.storePath();
    if (copy.isEmpty())
        copy = store;
    std::optional<StoreUseLock> planner;
    if (holder == "planner")
        planner.emplace(store, StoreUseLock::Use::Planner);
    const QByteArray before = NotesFixture::fileBytes(store); // read first: closing a file drops our SQLite locks
    Connection other(store);
    other.execute(holder == "exclusive lock" ? "PRAGMA locking_mode = EXCLUSIVE" : "PRAGMA locking_mode = NORMAL");
    other.execute("SELECT count(*) FROM sqlite_schema"); // a reader, with the -wal and -shm files it makes
    const QString storeFiles = QFileInfo(store).fileName() + u'*';
    const QStringList namesBefore = filesIn(QFileInfo(store).absolutePath(), storeFiles);
    const QString synced = noteKey("August", "2021", 0);
    syncedBefore(store, synced);

    const auto result = fixture.run({"--store", store, "restore", copy});

    QCOMPARE(result.exitCode, 3);
    QVERIFY(!syncTakesAsRestored(store, synced)); // a refused restore leaves sync as it was
    QVERIFY(QFile::remove(SyncState::pathBeside(store)));
    QVERIFY2(result.err.contains(copy.toUtf8()) || result.err.contains(store.toUtf8()), result.err.constData());
    QVERIFY2(result.err.contains(says), result.err.constData());
    QCOMPARE(NotesFixture::fileBytes(store), before);
    QCOMPARE(filesIn(QFileInfo(store).absolutePath(), storeFiles), namesBefore); // no kept copy, the -wal file still there
}

void NotesBackupTest::moveLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("before");    // key, value, key, value …
    QTest::addColumn<QStringList>("arguments"); // after "move-language"
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("syncedKey");     // where the sync state has the note synced as March_2024_txtNote_5

    const QStringList bothLanguages{"March_2024_txtNote_5", "Zahnarzt um 9\nbring the card", "März_2024_txtNote_5", "Zahnarzt um 9",
                                    "März_2024_txtNoteColor_5", "255", "Text1", "2024"};
    QTest::newRow("a day noted in both languages, to German")
        << "de_DE.UTF-8" << bothLanguages << QStringList{}
        << QStringList{"März_2024_txtNote_5", "Zahnarzt um 9\nbring the card", "März_2024_txtNoteColor_5", "255", "Text1", "2024"}
        << "März_2024_txtNote_5";
    QTest::newRow("a dry run changes nothing") << "de_DE.UTF-8" << bothLanguages << QStringList{"--dry-run"} << bothLanguages
                                               << "March_2024_txtNote_5";
    QTest::newRow("back to English; keys without a date stay")
        << "C" << QStringList{"März_2024_txtNote_5", "Zahnarzt", "März_2024_txtNoteColor_5", "255", "August_abc_txtNote_3", "idea"}
        << QStringList{}
        << QStringList{"August_abc_txtNote_3", "idea", "March_2024_txtNote_5", "Zahnarzt", "March_2024_txtNoteColor_5", "255"}
        << "March_2024_txtNote_5";
    QTest::newRow("nothing to move") << "C" << QStringList{"March_2024_txtNote_5", "x"} << QStringList{}
                                     << QStringList{"March_2024_txtNote_5", "x"} << "March_2024_txtNote_5";
}

// "move-language": every note to the key of its day in the current language,
// a day's two notes merged, after a copy of the store was kept.
void NotesBackupTest::moveLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, before);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, after);
    QFETCH(QString, syncedKey);
    const auto mapOf = [](const QStringList &pairs) {
        QMap<QString, QString> map;
        for (qsizetype i = 0; i + 1 < pairs.size(); i += 2)
            map.insert(pairs.at(i), pairs.at(i + 1));
        return map;
    };
    NotesFixture fixture;
    for (qsizetype i = 0; i + 1 < before.size(); i += 2)
        fixture.put(before.at(i), before.at(i + 1));
    fixture.closeStore();
    syncedBefore(fixture.storePath(), "March_2024_txtNote_5");
    { // two sends of the note whose fate no pass learnt: the merge of a later pass starts from them
        SyncState state(SyncState::pathBeside(fixture.storePath()));
        for (const QString version : {"v1", "v2"})
            state.setPending("March_2024_txtNote_5", "/tavorin-planner/1.ics", *Note::fromKey("March_2024_txtNote_5", version), version);
    }
    QProcessEnvironment environment;
    environment.insert("LC_ALL", locale);

    const auto result = fixture.run(QStringList{"move-language"} + arguments, environment);

    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(NotesFixture::contents(fixture.storePath()), mapOf(after));
    const QStringList kept = filesIn(QFileInfo(fixture.storePath()).absolutePath(), "settings.sqlite3.before-move-language-*");
    QCOMPARE(kept.size(), before == after ? 0 : 1);
    if (!kept.isEmpty())
        QCOMPARE(NotesFixture::contents(QFileInfo(fixture.storePath()).absoluteDir().filePath(kept.first())), mapOf(before));
    const std::optional<SyncState::Entry> synced = SyncState(SyncState::pathBeside(fixture.storePath())).entry(syncedKey);
    QVERIFY(synced);
    QCOMPARE(synced->earlierSent.keys(), QStringList{"v1"});
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
