// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include "settings/Settings.h"

#include <QTest>

namespace {

// The lines of a listing, without the final line break.
QStringList linesOf(const QByteArray &out)
{
    QStringList lines = QString::fromUtf8(out).split(u'\n');
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList column(const QStringList &lines, int index)
{
    QStringList values;
    for (const QString &line : lines)
        values << line.section(u'\t', index, index);
    return values;
}

QProcessEnvironment locale(const QString &name)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LC_ALL"), name);
    return environment;
}

} // namespace

// "list" and "search": which notes, in which order, with which date.
class NotesListingTest : public QObject
{
    Q_OBJECT

private slots:
    void order_data();
    void order();
    void fields_data();
    void fields();
    void textIsOneLine_data();
    void textIsOneLine();
    void defaultStoreIsTheUsers();
    void search_data();
    void search();
    void selection_data();
    void selection();
};

void NotesListingTest::order_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("keysInOrder"); // each stored with itself as its text

    QTest::newRow("days, months and years")
        << "C.UTF-8"
        << QStringList{"February_999_txtNote_0",  "December_2020_txtNote_30", "January_2021_txtNote_0",
                       "January_2021_txtNote_1",  "January_2021_txtNote_9",   "January_2021_txtNote_10",
                       "February_2021_txtNote_0", "September_2021_txtNote_4", "December_2021_txtNote_0",
                       "January_2022_txtNote_0"};
    QTest::newRow("the same day under two keys, by key")
        << "C.UTF-8" << QStringList{"August_2021_txtNote_5", "august_2021_txtNote_5", "March_2022_txtNote_0"};
    QTest::newRow("notes without a date come last, by key")
        << "C.UTF-8"
        << QStringList{"December_2030_txtNote_0", "Augst_2021_txtNote_5", "August_ 2021_txtNote_5",
                       "August_20_21_txtNote_0",  "August_21_txtNote_5",  "August__txtNote_5",
                       "February_2021_txtNote_28", "Juli_x_txtNote_0"};
    QTest::newRow("German names, and English ones, under a German locale")
        << "de_DE.UTF-8"
        << QStringList{"März_2021_txtNote_0", "Март_2021_txtNote_0", "March_2021_txtNote_1", "Juli_2021_txtNote_0",
                       "Dezember_2021_txtNote_0", "Merz_2021_txtNote_0"};
    QTest::newRow("Russian names under a Russian locale")
        << "ru_RU.UTF-8"
        << QStringList{"Август_2021_txtNote_5", "Январь_2022_txtNote_0", "February_2022_txtNote_0",
                       "Mesyats_2021_txtNote_0"};
    QTest::newRow("German and Russian names under the C locale")
        << "C"
        << QStringList{"März_2021_txtNote_0", "Март_2021_txtNote_1", "Juli_2021_txtNote_0", "августа_2021_txtNote_5",
                       "Dezember_2021_txtNote_0", "ДЕКАБРЬ_2021_txtNote_1"};
    QTest::newRow("a name two languages give to different months, under each")
        << "hr_HR.UTF-8" << QStringList{"listopad_2021_txtNote_0", "studeni_2021_txtNote_0"};
    QTest::newRow("a name two languages give to different months, under the other")
        << "cs_CZ.UTF-8" << QStringList{"říjen_2021_txtNote_0", "listopad_2021_txtNote_0"};
    QTest::newRow("days of an undated month in day order")
        << "C.UTF-8" << QStringList{"Someday_x_txtNote_1", "Someday_x_txtNote_9", "Someday_x_txtNote_10",
                                    "Someday_x_txtNote_20", "Someday_xy_txtNote_0"};
}

void NotesListingTest::order()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, keysInOrder);
    NotesFixture fixture;
    for (const QString &key : keysInOrder)
        fixture.put(key, key);

    const auto result = fixture.run({"list"}, ::locale(locale));

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(column(linesOf(result.out), 4), keysInOrder);
}

void NotesListingTest::fields_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expectedLine"); // date, month, year, day; without the text

    QTest::newRow("a day") << "August_2021_txtNote_5" << "2021-08-06\tAugust\t2021\t6";
    QTest::newRow("first cell") << "January_2022_txtNote_0" << "2022-01-01\tJanuary\t2022\t1";
    QTest::newRow("last day of a long month") << "December_2021_txtNote_30" << "2021-12-31\tDecember\t2021\t31";
    QTest::newRow("leap day") << "February_2024_txtNote_28" << "2024-02-29\tFebruary\t2024\t29";
    QTest::newRow("year with a leading zero") << "May_0999_txtNote_0" << "0999-05-01\tMay\t0999\t1";
    QTest::newRow("month in other letter case") << "AUGUST_2021_txtNote_5" << "2021-08-06\tAUGUST\t2021\t6";
    QTest::newRow("no leap day") << "February_2021_txtNote_28" << "-\tFebruary\t2021\t29";
    QTest::newRow("cell past the month") << "April_2021_txtNote_30" << "-\tApril\t2021\t31";
    QTest::newRow("hidden cell") << "August_2021_txtNote_34" << "-\tAugust\t2021\t35";
    QTest::newRow("unknown month") << "Augst_2021_txtNote_5" << "-\tAugst\t2021\t6";
    QTest::newRow("year of two digits") << "August_21_txtNote_5" << "-\tAugust\t21\t6";
    QTest::newRow("year beyond 9999") << "August_10000_txtNote_5" << "-\tAugust\t10000\t6";
    QTest::newRow("year with a blank") << "August_ 2021_txtNote_5" << "-\tAugust\t 2021\t6";
    QTest::newRow("year with a sign") << "August_+2021_txtNote_5" << "-\tAugust\t+2021\t6";
    QTest::newRow("year with underscores") << "August_20_21_txtNote_0" << "-\tAugust\t20_21\t1";
    QTest::newRow("unknown month, year with underscores") << "Augst_20_21_txtNote_0" << "-\tAugst\t20_21\t1";
    QTest::newRow("empty year") << "August__txtNote_5" << "-\tAugust\t\t6";
    QTest::newRow("empty month and year") << "__txtNote_2" << "-\t\t\t3";
}

void NotesListingTest::fields()
{
    QFETCH(QString, key);
    QFETCH(QString, expectedLine);
    NotesFixture fixture;
    fixture.put(key, "note");

    const auto result = fixture.run({"list"});

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(linesOf(result.out), QStringList{expectedLine + "\tnote"});
}

void NotesListingTest::textIsOneLine_data()
{
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");

    QTest::newRow("line breaks, tab, backslash")
        << "2021" << "Windows line\r\nUnix line\nTab\there, back\\slash"
        << "2021-08-06\tAugust\t2021\t6\tWindows line\\nUnix line\\nTab\\there, back\\\\slash";
    QTest::newRow("carriage return alone") << "2021" << "over\rwritten" << "2021-08-06\tAugust\t2021\t6\tover\\rwritten";
    QTest::newRow("terminal escape sequence")
        << "2021" << "\x1b[31mred\x1b[0m \a\x7f\u009b" << "2021-08-06\tAugust\t2021\t6\t\\x1b[31mred\\x1b[0m \\x07\\x7f\\x9b";
    QTest::newRow("escape sequence in the year box")
        << "\x1b]0;title\a" << "note" << "-\tAugust\t\\x1b]0;title\\x07\t6\tnote";
}

void NotesListingTest::textIsOneLine()
{
    QFETCH(QString, year);
    QFETCH(QString, text);
    QFETCH(QString, line);
    NotesFixture fixture;
    fixture.putNote("August", year, 5, text);
    fixture.putNote("August", year, 6, "");         // emptied: not a note any more
    fixture.put("Text1", "2021");                     // the year boxes
    fixture.put("Forecolor", "255");
    fixture.put("August_2021_txtNoteColor_7", "255"); // a colour without its text

    const auto result = fixture.run({"list"});

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(linesOf(result.out), QStringList{line});
}

void NotesListingTest::defaultStoreIsTheUsers()
{
    NotesFixture fixture; // its store lies under the XDG_DATA_HOME the program gets
    fixture.putNote("August", "2021", 5, "in the default store");

    const auto result = fixture.run({"list"});

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(linesOf(result.out), QStringList{"2021-08-06\tAugust\t2021\t6\tin the default store"});
}

void NotesListingTest::search_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("found"); // texts, in list order

    QTest::newRow("ASCII, other case") << "DENTIST" << 0 << QStringList{"dentist at 9", "Call the Dentist"};
    QTest::newRow("German letters, other case") << "äPFEL" << 0 << QStringList{"ÄPFEL und Birnen"};
    QTest::newRow("Cyrillic, other case") << "мОЛОКО" << 0 << QStringList{"Купить МОЛОКО"};
    QTest::newRow("Greek, other case") << "ΓΆΛΑ" << 0 << QStringList{"γάλα"};
    QTest::newRow("decomposed finds composed") << "CAFE\u0301" << 0 << QStringList{"Café Luise"};
    QTest::newRow("within a second line") << "second LINE" << 0 << QStringList{"first\nsecond line"};
    QTest::newRow("in a note without a date") << "undated" << 0 << QStringList{"undated idea"};
    QTest::newRow("dot is a dot") << "a.b" << 1 << QStringList{};
    QTest::newRow("nothing") << "zebra" << 1 << QStringList{};
}

void NotesListingTest::search()
{
    QFETCH(QString, text);
    QFETCH(int, exitCode);
    QFETCH(QStringList, found);
    NotesFixture fixture;
    fixture.putNotes("August", "2021",
                     {"dentist at 9", "Call the Dentist", "ÄPFEL und Birnen", "Купить МОЛОКО", "γάλα", "Café Luise",
                      "first\r\nsecond line", "axb"});
    fixture.putNote("Someday", "", 0, "undated idea");

    const auto result = fixture.run({"search", text});

    QCOMPARE(result.exitCode, exitCode);
    QStringList expected;
    for (QString text : found)
        expected << text.replace(u'\n', QStringLiteral("\\n"));
    QCOMPARE(column(linesOf(result.out), 4), expected);
}

void NotesListingTest::selection_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("found"); // texts, in list order

    QTest::newRow("from a day on") << QStringList{"list", "--from", "2021-08-06"}
                                   << QStringList{"Aug 6", "Aug 31", "Sep 1"};
    QTest::newRow("up to a day") << QStringList{"list", "--to=2021-08-06"} << QStringList{"Jul 31", "Aug 1", "Aug 6"};
    QTest::newRow("from and to") << QStringList{"list", "--from", "2021-08-01", "--to", "2021-08-06"}
                                 << QStringList{"Aug 1", "Aug 6"};
    QTest::newRow("a month") << QStringList{"list", "--month", "2021-08"} << QStringList{"Aug 1", "Aug 6", "Aug 31"};
    QTest::newRow("a month without notes") << QStringList{"list", "--month", "2022-08"} << QStringList{};
    QTest::newRow("search in a month") << QStringList{"search", "--month", "2021-08", "aug"}
                                       << QStringList{"Aug 1", "Aug 6", "Aug 31"};
    QTest::newRow("one day") << QStringList{"list", "--from", "2021-08-31", "--to", "2021-08-31"}
                             << QStringList{"Aug 31"};
}

void NotesListingTest::selection()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, found);
    NotesFixture fixture;
    fixture.putNote("July", "2021", 30, "Jul 31");
    fixture.putNote("August", "2021", 0, "Aug 1");
    fixture.putNote("August", "2021", 5, "Aug 6");
    fixture.putNote("August", "2021", 30, "Aug 31");
    fixture.putNote("September", "2021", 0, "Sep 1");
    fixture.putNote("Someday", "", 0, "undated idea");

    const auto result = fixture.run(arguments);

    QCOMPARE(result.exitCode, found.isEmpty() && arguments.first() == "search" ? 1 : 0);
    QCOMPARE(column(linesOf(result.out), 4), found);
}

QTEST_GUILESS_MAIN(NotesListingTest)
#include "tst_notes_listing.moc"
