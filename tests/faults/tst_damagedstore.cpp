// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"

#include "app/PlannerStart.h"
#include "calendar/Controls.h"
#include "calendar/ErrorReport.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "notes/NoteKey.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestEnvironment;

namespace {

// The page after the roots of the table and of its index: the first of the
// pages that hold the rest of the long note a well-used store begins with.
constexpr int LongNotePage = 4;

// A store as the planner leaves it: many notes over several pages, closed.
// Its first note is a long one of June, a month the start-up does not show.
QByteArray wellUsedStore()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.sqlite3"));
    {
        SettingsStore store(path);
        store.save(Settings::Application, Settings::Section,
                   NoteKey::text(QStringLiteral("June"), QStringLiteral("2021"), 0),
                   QStringLiteral("Pack for the trip. ").repeated(600));
        for (int cell = 0; cell < 31; ++cell) {
            for (const char *month : {"July", "August", "September"}) {
                store.save(Settings::Application, Settings::Section,
                           NoteKey::text(QString::fromLatin1(month), QStringLiteral("2021"), cell),
                           QStringLiteral("Note %1 of %2, ").arg(cell).arg(QString::fromLatin1(month)).repeated(8));
            }
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Lets the day's check, which starts once the window has been painted, run
// to its end and hand its verdict to the window.
void finishDailyCheck(QWidget &window)
{
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    QVERIFY(QThreadPool::globalInstance()->waitForDone(60000));
    QCoreApplication::processEvents();
}

} // namespace

// A store file that is damaged or belongs to something else: the planner
// starts, says which file is wrong and why, fills its panels, lets the user
// type, never crashes, and leaves the file exactly as it found it.
class DamagedStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useEnglishNames();
        FixedToday::set(QDate(2021, 8, 15));
    }

    void startsReportsTheFileAndLeavesItAlone_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("access"); // who else may change the folder or the file
        // "opening" the store, a read or write of the "start-up", or the "day's check" after the window shows
        QTest::addColumn<QString>("foundBy");
        const QByteArray store = wellUsedStore();
        QVERIFY(store.size() > 5 * 4096);
        QTest::newRow("random bytes") << FaultKit::randomBytes(16384, 20210815) << QString() << "opening";
        QTest::newRow("a text file") << QByteArray("Dentist on Monday\nbring forms\n") << QString() << "opening";
        QTest::newRow("store header only") << store.left(100) << QString() << "opening";
        QTest::newRow("store cut to its first page") << store.left(4096) << QString() << "opening";
        QTest::newRow("store cut inside a page") << store.left(2 * 4096 + 1000) << QString() << "opening";
        const int pages = int(store.size() / 4096);
        for (const int page : {2, LongNotePage, pages / 2, pages}) {
            QByteArray scribbled = store;
            scribbled.replace((page - 1) * 4096, 4096, FaultKit::randomBytes(4096, 20210815));
            QTest::addRow("store with page %d of %d overwritten", page, pages)
                << scribbled << QString() << (page == LongNotePage ? "day's check" : "start-up");
        }
        QTest::newRow("database without the table")
            << FaultKit::foreignDatabase("CREATE TABLE recipes(name, steps); INSERT INTO recipes VALUES('bread', 'knead');") << QString() << "opening";
        QTest::newRow("table with a wrong column")
            << FaultKit::foreignDatabase("CREATE TABLE settings(application TEXT, section TEXT, name TEXT, value TEXT, "
                               "PRIMARY KEY(application, section, name));"
                               "INSERT INTO settings VALUES('Quillmere', 'Tavorin Planner', 'Text1', '2019');") << QString() << "opening";
        // A sound store that someone else could read or replace is not used either.
        QTest::newRow("folder writable by all") << store << "folder 0777" << "opening";
        QTest::newRow("store writable by all") << store << "file 0666" << "opening";
        if (::geteuid() == 0)
            QTest::newRow("folder of another user") << store << "folder of uid 65534" << "opening";
    }
    void startsReportsTheFileAndLeavesItAlone()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, access);
        QFETCH(QString, foundBy);
        RecordedMessages messages;
        PrivateStore store;
        const QString folder = QFileInfo(store.path()).absolutePath();
        QVERIFY(QDir().mkpath(folder));
        {
            QFile file(store.path());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        if (access == "folder 0777")
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
        if (access == "file 0666")
            QCOMPARE(::chmod(QFile::encodeName(store.path()).constData(), 0666), 0);
        if (access == "folder of uid 65534")
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        const QByteArray digest = FaultKit::digestOf(store.path());
        const ino_t inode = FaultKit::inodeOf(store.path());
        const QStringList namesBefore = FaultKit::namesIn(folder);

        Form1 window;
        startPlanner(window);
        const qsizetype shownBeforePaint = messages.shown().size();
        finishDailyCheck(window);

        if (foundBy == "opening") {
            // The first failure, in the refill that selecting the month starts, is
            // shown once; then each step of the start-up that reads the store
            // reports with its line.
            QCOMPARE(messages.shown().size(), 5);
            QCOMPARE(messages.shown().at(0).title, QStringLiteral("Tavorin"));
            const int lines[] = {140, 142, 144, 146};
            for (int i = 0; i < 4; ++i) {
                const ShownMessage &report = messages.shown().at(i + 1);
                QCOMPARE(report.title, ErrorReport::Title);
                QVERIFY2(report.text.contains(Form1::FormLoadLocation + QStringLiteral("at line %1\r\r").arg(lines[i])),
                         qPrintable(report.text));
            }
            // The years could not be read, so the year boxes stay empty and show no days.
            QCOMPARE(window.panel1()->yearBox()->text(), QString());
            QCOMPARE(FaultKit::shownCells(window.panel1()), 0);
            QCOMPARE(FaultKit::shownCells(window.panel2()), 0);
        } else {
            // The window shows what it could read; from the first message on,
            // every message says what is wrong and what to do.
            if (foundBy == "day's check") {
                QCOMPARE(shownBeforePaint, 0);
                QCOMPARE(FaultKit::shownCells(window.panel1()), 31);
                QCOMPARE(messages.shown().size(), 1);
            } else {
                QVERIFY(shownBeforePaint >= 1 && shownBeforePaint <= 5);
                QCOMPARE(messages.shown().size(), shownBeforePaint); // the day's check adds nothing to that
            }
            for (const ShownMessage &message : messages.shown())
                QVERIFY2(message.text.contains(QLatin1String(" is damaged: ")) && message.text.contains(QLatin1String("tavorin-notes restore")),
                         qPrintable(message.text));
        }
        for (const ShownMessage &message : messages.shown()) {
            QVERIFY2(message.text.contains(store.path()), qPrintable(message.text));
            QCOMPARE(message.style, 48);
        }

        // The user can go on: a typed year shows its days, a typed note stays
        // in its box, and the run of failures is not shown again for every keystroke.
        const qsizetype shownAtStart = messages.shown().size();
        const QList<std::pair<QString, QString>> storedAtStart = store.writes();
        QLineEdit *year = window.panel1()->yearBox();
        FaultKit::giveFocus(year);
        year->selectAll();
        FaultKit::typeText(year, QStringLiteral("2022"));
        FaultKit::giveFocus(window.panel1()->monthSelector());
        QCOMPARE(year->text(), QStringLiteral("2022"));
        QCOMPARE(FaultKit::shownCells(window.panel1()), 31);
        NoteBox *note = window.panel1()->noteBox(4);
        FaultKit::giveFocus(note);
        FaultKit::typeText(note, QStringLiteral("Call the plumber"));
        QCOMPARE(note->text(), QStringLiteral("Call the plumber"));
        QCOMPARE(messages.shown().size(), shownAtStart);

        // Nothing is written once the damage is found. What the start-up stored
        // before stays beside the file, in its -wal file, and the file itself
        // is left exactly as it was.
        QCOMPARE(store.writes(), storedAtStart);
        QStringList namesAfter = namesBefore;
        if (!storedAtStart.isEmpty()) {
            QCOMPARE(foundBy == "opening", false);
            namesAfter << QFileInfo(store.path()).fileName() + QStringLiteral("-shm")
                       << QFileInfo(store.path()).fileName() + QStringLiteral("-wal");
        }
        Settings::useStoreAt(store.path()); // closes the store as the end of the program does
        QCOMPARE(FaultKit::digestOf(store.path()), digest);
        QCOMPARE(FaultKit::inodeOf(store.path()), inode);
        QCOMPARE(FaultKit::namesIn(folder), namesAfter);
        if (foundBy == "day's check")
            QCOMPARE(FaultKit::storedValue(store.path(), Settings::YearOfPanel1Key), QStringLiteral("2021"));
    }
};

QTEST_MAIN(DamagedStoreTest)
#include "tst_damagedstore.moc"
