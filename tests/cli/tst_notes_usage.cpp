#include "NotesFixture.h"

#include <QTest>

// What a script sees: help on standard output with exit code 0, usage errors
// on standard error with 2, a store that cannot be used with 3.
class NotesUsageTest : public QObject
{
    Q_OBJECT

private slots:
    void help_data();
    void help();
    void usageErrors_data();
    void usageErrors();
    void storeErrors_data();
    void storeErrors();
};

void NotesUsageTest::help_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage");

    QTest::newRow("program") << QStringList{"--help"} << "Usage: tavorin-notes [--store PATH] COMMAND";
    QTest::newRow("program, short") << QStringList{"-h"} << "Usage: tavorin-notes [--store PATH] COMMAND";
    QTest::newRow("list") << QStringList{"list", "--help"} << "Usage: tavorin-notes [--store PATH] list\n";
    QTest::newRow("search") << QStringList{"search", "--help"} << "Usage: tavorin-notes [--store PATH] search TEXT";
    QTest::newRow("export") << QStringList{"export", "-h"}
                            << "Usage: tavorin-notes [--store PATH] export [--format FORMAT]";
    QTest::newRow("backup") << QStringList{"backup", "--help"} << "Usage: tavorin-notes [--store PATH] backup FILE";
    QTest::newRow("restore") << QStringList{"restore", "--help"} << "Usage: tavorin-notes [--store PATH] restore FILE";
    QTest::newRow("sync") << QStringList{"sync", "--help"} << "Usage: tavorin-notes [--store PATH] sync [--dry-run | --status]";
    QTest::newRow("help wins over a missing argument") << QStringList{"search", "--help"}
                                                       << "Usage: tavorin-notes [--store PATH] search TEXT";
}

void NotesUsageTest::help()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    const NotesFixture fixture; // no store exists: help needs none

    const auto result = fixture.run(arguments);

    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.startsWith(usage.toUtf8()), result.out.constData());
    QVERIFY(result.out.contains("Exit codes:\n  0  success\n  1  search found no note\n  2  usage error"));
    QCOMPARE(result.err, QByteArray());
    QVERIFY(!QFile::exists(fixture.storePath()));
}

void NotesUsageTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("no command") << QStringList{} << "No command given.";
    QTest::newRow("only options") << QStringList{"--store", "x.sqlite3"} << "No command given.";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "Unknown command \"frobnicate\".";
    QTest::newRow("unknown program option") << QStringList{"--bogus", "list"} << "Unknown option 'bogus'.";
    QTest::newRow("unknown command option") << QStringList{"list", "--bogus"} << "Unknown option 'bogus'.";
    QTest::newRow("option of another command") << QStringList{"list", "--format", "json"} << "Unknown option 'format'.";
    QTest::newRow("store without a path") << QStringList{"list", "--store"} << "Missing value after '--store'.";
    QTest::newRow("extra argument") << QStringList{"list", "now"} << "Unexpected argument \"now\".";
    QTest::newRow("search without text") << QStringList{"search"} << "\"search\" needs TEXT.";
    QTest::newRow("search for nothing") << QStringList{"search", ""} << "TEXT must not be empty.";
    QTest::newRow("backup without file") << QStringList{"backup"} << "\"backup\" needs FILE.";
    QTest::newRow("backup to two files") << QStringList{"backup", "a", "b"} << "Unexpected argument \"b\".";
    QTest::newRow("restore without file") << QStringList{"restore"} << "\"restore\" needs FILE.";
    QTest::newRow("unknown format") << QStringList{"export", "--format", "pdf"} << "Unknown format \"pdf\".";
    QTest::newRow("format in capitals") << QStringList{"export", "--format=ICS"} << "Unknown format \"ICS\".";
}

void NotesUsageTest::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist"); // a usable store: the error is the usage alone

    const auto result = fixture.run(arguments);

    QCOMPARE(result.exitCode, 2);
    QCOMPARE(result.out, QByteArray());
    QVERIFY2(result.err.startsWith("tavorin-notes: " + message.toUtf8() + "\ntavorin-notes: Try \"tavorin-notes"),
             result.err.constData());
}

void NotesUsageTest::storeErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("storeBytes"); // what the store file holds; null: there is none

    const QByteArray none;
    const QByteArray text("these are not notes\n");
    for (const auto &command : {QStringList{"list"}, QStringList{"search", "x"}, QStringList{"export"},
                                QStringList{"backup", "copy.sqlite3"}}) {
        QTest::addRow("%s, no store", qPrintable(command.first())) << command << none;
        QTest::addRow("%s, not a database", qPrintable(command.first())) << command << text;
    }
}

void NotesUsageTest::storeErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, storeBytes);
    const NotesFixture fixture;
    const QString store = fixture.path("notes.sqlite3");
    if (!storeBytes.isNull()) {
        QFile file(store);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(storeBytes);
    }

    const auto result = fixture.run(QStringList{"--store", store} + arguments);

    QCOMPARE(result.exitCode, 3);
    QCOMPARE(result.out, QByteArray());
    QVERIFY2(result.err.contains(store.toUtf8()), result.err.constData()); // names the file
    QCOMPARE(NotesFixture::fileBytes(store), storeBytes);                  // and leaves it alone
    QVERIFY(!QFile::exists(fixture.path("copy.sqlite3")));
}

QTEST_GUILESS_MAIN(NotesUsageTest)
#include "tst_notes_usage.moc"
