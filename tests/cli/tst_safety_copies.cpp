// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include "notes/NoteKey.h"
#include "settings/PartFile.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/Sqlite.h"

#include <QDir>
#include <QTest>

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QDate Day(2026, 12, 8);

QString noteOf(const QString &storePath)
{
    return NotesFixture::contents(storePath).value(NoteKey::text("August", "2021", 5));
}

QStringList filesIn(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    std::sort(files.begin(), files.end());
    return files;
}

QStringList names(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths)
        result << QFileInfo(path).fileName();
    return result;
}

} // namespace

// The copies the planner makes at start: one a day, the newest seven, never
// a failure that reaches the user. Dates are given, never the clock's.
class SafetyCopiesTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartOfTheDay();
    void onceADay();
    void keepsTheNewestSeven();
    void copiesDatedLaterAreNeitherCountedNorRemoved();
    void leftoversOfCopiesCutShortAreRemoved();
    void noStoreNoCopy();
    void failures_data();
    void failures();
};

void SafetyCopiesTest::firstStartOfTheDay()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist"); // the planner of yesterday still runs
    const mode_t previousMask = ::umask(022);

    QString error;
    const bool made = SafetyCopies::makeDailyCopy(fixture.storePath(), Day, &error);
    ::umask(previousMask);

    QVERIFY2(made, qPrintable(error));
    const QString copy = fixture.storePath() + ".2026-12-08.bak";
    QCOMPARE(SafetyCopies::existingCopies(fixture.storePath()), QStringList{copy});
    QCOMPARE(noteOf(copy), "dentist");
    QCOMPARE(NotesFixture::modeOf(copy), 0600);
    // A rollback journal, not WAL: the copy can be read where it cannot be written.
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(20).mid(18, 2), QByteArray("\x01\x01"));
}

void SafetyCopiesTest::onceADay()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "morning");
    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day));
    fixture.putNote("August", "2021", 5, "evening");

    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day)); // a second start that day
    QCOMPARE(noteOf(SafetyCopies::copyPath(fixture.storePath(), Day)), "morning");

    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day.addDays(1)));
    QCOMPARE(noteOf(SafetyCopies::copyPath(fixture.storePath(), Day.addDays(1))), "evening");
    QCOMPARE(SafetyCopies::existingCopies(fixture.storePath()).size(), 2);
}

void SafetyCopiesTest::keepsTheNewestSeven()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    // Files that only look alike are not ours to remove.
    const QStringList others{"settings.sqlite3.before-restore-20261201-120000", "settings.sqlite3.notes.bak",
                             "other.sqlite3.2026-01-01.bak", "settings.sqlite3.2026-01-01.bak.old"};
    for (const QString &name : others) {
        QFile file(folder + u'/' + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // Starts on ten days with gaps between some, and once on the first day again.
    const QList<QDate> starts{Day,  Day.addDays(1),  Day.addDays(2),  Day.addDays(5),  Day.addDays(6), Day,
                              Day.addDays(9), Day.addDays(30), Day.addDays(31), Day.addDays(40), Day.addDays(41)};
    for (const QDate &start : starts)
        QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), start));

    QCOMPARE(names(SafetyCopies::existingCopies(fixture.storePath())),
             (QStringList{"settings.sqlite3.2026-12-13.bak", "settings.sqlite3.2026-12-14.bak",
                          "settings.sqlite3.2026-12-17.bak", "settings.sqlite3.2027-01-07.bak",
                          "settings.sqlite3.2027-01-08.bak", "settings.sqlite3.2027-01-17.bak",
                          "settings.sqlite3.2027-01-18.bak"}));
    for (const QString &name : others)
        QVERIFY2(QFile::exists(folder + u'/' + name), qPrintable(name));
}

void SafetyCopiesTest::copiesDatedLaterAreNeitherCountedNorRemoved()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    for (int day = 1; day <= 7; ++day) // a week with the clock ahead, then a week of genuine copies
        QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day.addDays(30 + day)));
    for (int day = 7; day >= 1; --day)
        QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day.addDays(-day)));

    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day));

    const QStringList copies = names(SafetyCopies::existingCopies(fixture.storePath()));
    QCOMPARE(copies.size(), 14);
    QVERIFY(copies.contains("settings.sqlite3.2026-12-08.bak"));
    QVERIFY(!copies.contains("settings.sqlite3.2026-12-01.bak")); // the oldest genuine copy
    QVERIFY(copies.contains("settings.sqlite3.2026-12-02.bak"));
    QVERIFY(copies.contains("settings.sqlite3.2027-01-14.bak"));
}

void SafetyCopiesTest::leftoversOfCopiesCutShortAreRemoved()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    const QString folder = QFileInfo(fixture.storePath()).absolutePath();
    const QStringList leftovers{"settings.sqlite3.2026-12-07.bak.part-a1B2c3",
                                "settings.sqlite3.2026-12-07.bak.part-a1B2c3-journal",
                                "settings.sqlite3.before-restore-20261207-101010.part-Zz9Yy8",
                                "settings.sqlite3.restore.part-q1w2e3"};
    const auto leave = [&folder](const QStringList &files) {
        for (const QString &name : files) {
            QFile file(folder + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(4096, 'p'));
        }
    };
    const PartFile stillWritten(fixture.storePath() + ".2026-12-08.bak"); // by a copy that runs now
    const QString other = "other.sqlite3.2026-12-07.bak.part-a1B2c3";
    leave(leftovers + QStringList{other});

    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day)); // a start of the planner
    QStringList expected{QFileInfo(stillWritten.path()).fileName(), other, "settings.sqlite3", "settings.sqlite3-shm",
                         "settings.sqlite3-wal", "settings.sqlite3.2026-12-08.bak"};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(filesIn(folder), expected);

    leave(leftovers);
    QCOMPARE(fixture.run({"backup", fixture.path("copy.sqlite3")}).exitCode, 0); // a run of the notes tool
    QCOMPARE(filesIn(folder), expected);
}

void SafetyCopiesTest::noStoreNoCopy()
{
    const NotesFixture fixture; // the very first start

    QString error;
    QVERIFY(SafetyCopies::makeDailyCopy(fixture.storePath(), Day, &error));

    QCOMPARE(error, QString());
    QVERIFY(!QFileInfo::exists(fixture.storePath()));
    QVERIFY(!QFileInfo::exists(QFileInfo(fixture.storePath()).absolutePath()));
}

void SafetyCopiesTest::failures_data()
{
    QTest::addColumn<QString>("spoil"); // what goes wrong

    QTest::newRow("store is no database") << "garbage";
    QTest::newRow("store of another program") << "foreign";
    QTest::newRow("store with a damaged page") << "damaged";
    QTest::newRow("a folder in the copy's place") << "folder";
}

void SafetyCopiesTest::failures()
{
    QFETCH(QString, spoil);
    NotesFixture fixture;
    fixture.putNotes("August", "2021", QStringList(31, QString(1000, u'n')));
    fixture.closeStore();
    const QString store = fixture.storePath();
    for (int day = 1; day <= 7; ++day) // a week of good copies
        QVERIFY(SafetyCopies::makeDailyCopy(store, Day.addDays(-day)));
    const QStringList goodCopies = SafetyCopies::existingCopies(store);

    if (spoil == "garbage") {
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, 'g'));
    } else if (spoil == "foreign") {
        QVERIFY(QFile::remove(store));
        const Sqlite::Database db(QFile::encodeName(store), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        QCOMPARE(sqlite3_exec(db.handle(), "CREATE TABLE things(name TEXT)", nullptr, nullptr, nullptr), SQLITE_OK);
    } else if (spoil == "damaged") {
        QFile file(store);
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.seek(2 * 4096);
        file.write(QByteArray(64, '\xab'));
    } else {
        QVERIFY(QDir().mkpath(SafetyCopies::copyPath(store, Day)));
    }

    QString error;
    QVERIFY(!SafetyCopies::makeDailyCopy(store, Day, &error));

    QVERIFY2(error.contains(store), qPrintable(error));
    QCOMPARE(SafetyCopies::existingCopies(store), goodCopies); // the good copies stay
}

QTEST_GUILESS_MAIN(SafetyCopiesTest)
#include "tst_safety_copies.moc"
