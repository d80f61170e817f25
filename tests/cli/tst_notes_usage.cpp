// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    void output_data();
    void output();
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
    QTest::newRow("sync") << QStringList{"sync", "--help"} << "Usage: tavorin-notes [--store PATH] sync [--dry-run | --status | --watch]";
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
    QVERIFY(result.out.contains("Exit codes:\n  0  success\n  1  search found no note, or export --format ics no "
                                "note with a date\n  2  usage error"));
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
    QTest::newRow("empty store path") << QStringList{"--store", "", "restore", "x"} << "--store must not be empty.";
    QTest::newRow("empty store path after the command")
        << QStringList{"restore", "--store=", "x"} << "--store must not be empty.";
    QTest::newRow("empty store path after sync") << QStringList{"sync", "--store="} << "--store must not be empty.";
    QTest::newRow("force on another command") << QStringList{"backup", "--force", "x"} << "Unknown option 'force'.";
    QTest::newRow("extra argument") << QStringList{"list", "now"} << "Unexpected argument \"now\".";
    QTest::newRow("search without text") << QStringList{"search"} << "\"search\" needs TEXT.";
    QTest::newRow("search for nothing") << QStringList{"search", ""} << "TEXT must not be empty.";
    QTest::newRow("backup without file") << QStringList{"backup"} << "\"backup\" needs FILE.";
    QTest::newRow("backup to two files") << QStringList{"backup", "a", "b"} << "Unexpected argument \"b\".";
    QTest::newRow("restore without file") << QStringList{"restore"} << "\"restore\" needs FILE.";
    QTest::newRow("unknown format") << QStringList{"export", "--format", "pdf"} << "Unknown format \"pdf\".";
    QTest::newRow("format in capitals") << QStringList{"export", "--format=ICS"} << "Unknown format \"ICS\".";
    QTest::newRow("day not a date") << QStringList{"list", "--from", "2021-02-30"}
                                    << "--from needs a date as YYYY-MM-DD, not \"2021-02-30\".";
    QTest::newRow("date not in ISO form") << QStringList{"search", "--to", "6.8.2021", "x"}
                                          << "--to needs a date as YYYY-MM-DD, not \"6.8.2021\".";
    QTest::newRow("month not a month") << QStringList{"export", "--month", "2021-13"}
                                       << "--month needs a month as YYYY-MM, not \"2021-13\".";
    QTest::newRow("month and a day") << QStringList{"list", "--month", "2021-08", "--from", "2021-08-02"}
                                     << "--month cannot be combined with --from or --to.";
    QTest::newRow("from after to") << QStringList{"list", "--from", "2021-08-02", "--to", "2021-08-01"}
                                   << "--from 2021-08-02 is after --to 2021-08-01.";
    QTest::newRow("output for a backup") << QStringList{"backup", "-o", "x", "y"} << "Unknown option 'o'.";
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

void NotesUsageTest::output_data()
{
    QTest::addColumn<QStringList>("arguments"); // "FILE": a file in the test's folder that holds "former"
    QTest::addColumn<QString>("standardOutput"); // a file for it; empty: a pipe
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("fileBytes"); // what FILE holds afterwards
    QTest::addColumn<QByteArray>("pipeBytes"); // what went into "PIPE", a FIFO in the test's folder

    const QByteArray former("former");
    const QByteArray line("2021-08-06\tAugust\t2021\t6\tdentist\n");
    const QString full = "Cannot write to standard output: No space left on device.";
    QTest::newRow("list to a full disk") << QStringList{"list"} << "/dev/full" << 3 << full << former << QByteArray();
    QTest::newRow("search to a full disk") << QStringList{"search", "dent"} << "/dev/full" << 3 << full << former << QByteArray();
    QTest::newRow("export to a full disk") << QStringList{"export", "--format", "json"} << "/dev/full" << 3 << full
                                           << former << QByteArray();
    QTest::newRow("help to a full disk") << QStringList{"list", "--help"} << "/dev/full" << 3 << full << former << QByteArray();
    QTest::newRow("list into a file") << QStringList{"list", "-o", "FILE"} << "" << 0 << "" << line << QByteArray();
    QTest::newRow("search into a file") << QStringList{"search", "--output=FILE", "dent"} << "" << 0 << "" << line << QByteArray();
    QTest::newRow("export into a file") << QStringList{"export", "--output", "FILE"} << "" << 0 << ""
                                        << QByteArray("# Tavorin Planner notes\n\n## 2021-08-06\n\n```\ndentist\n```\n")
                                        << QByteArray();
    QTest::newRow("\"-\" is standard output") << QStringList{"list", "-o", "-"} << "" << 0 << "" << former << QByteArray();
    QTest::newRow("a failed command keeps the file") << QStringList{"search", "-o", "FILE", "zebra"} << "" << 1 << ""
                                                     << former << QByteArray();
    QTest::newRow("into a missing folder") << QStringList{"list", "-o", "missing/notes.txt"} << "" << 3
                                           << "Cannot write missing/notes.txt: " << former << QByteArray();
    QTest::newRow("into a FIFO") << QStringList{"list", "-o", "PIPE"} << "" << 0 << "" << former << line;
}

void NotesUsageTest::output()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, standardOutput);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QByteArray, fileBytes);
    QFETCH(QByteArray, pipeBytes);
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "dentist");
    const QString file = fixture.path("notes.txt");
    {
        QFile former(file);
        QVERIFY(former.open(QIODevice::WriteOnly));
        former.write("former");
    }
    arguments.replaceInStrings(QRegularExpression("FILE$"), file);
    // A FIFO stands for the devices a -o may name: written to, never replaced.
    const QString pipe = fixture.path("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    arguments.replaceInStrings(QRegularExpression("^PIPE$"), pipe);

    const auto result = fixture.run(arguments, {}, NotesStreams{standardOutput});

    QCOMPARE(result.exitCode, exitCode);
    if (message.isEmpty())
        QCOMPARE(result.err, QByteArray());
    else
        QVERIFY2(result.err.startsWith("tavorin-notes: " + message.toUtf8()), result.err.constData());
    QCOMPARE(result.err.count('\n'), message.isEmpty() ? 0 : 1);
    QCOMPARE(NotesFixture::fileBytes(file), fileBytes);
    QCOMPARE(QDir(fixture.path("")).entryList({"notes.txt*", "pipe*"}, QDir::AllEntries | QDir::Hidden | QDir::System),
             (QStringList{"notes.txt", "pipe"}));
    QVERIFY(!QFileInfo(pipe).isFile());
    char buffer[4096];
    const ssize_t got = ::read(reader, buffer, sizeof buffer);
    ::close(reader);
    QCOMPARE(QByteArray(buffer, int(std::max<ssize_t>(got, 0))), pipeBytes);
}

QTEST_GUILESS_MAIN(NotesUsageTest)
#include "tst_notes_usage.moc"
