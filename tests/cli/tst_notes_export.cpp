// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>

namespace {

struct Journal
{
    QMultiMap<QString, QString> properties; // name with parameters -> raw value
};

// The value of an iCalendar TEXT, or a null string when it has a character
// that should have been escaped.
QString unescapedText(const QString &value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u';' || c == u',')
            return QString();
        if (c != u'\\') {
            text += c;
            continue;
        }
        const QChar next = ++i < value.size() ? value.at(i) : QChar();
        if (next == u'n' || next == u'N')
            text += u'\n';
        else if (next == u'\\' || next == u';' || next == u',')
            text += next;
        else
            return QString();
    }
    return text.isNull() ? QStringLiteral("") : text;
}

// Reads an iCalendar file as strictly as importers do: CRLF line ends, lines
// of at most 75 octets cut only between characters, balanced BEGIN and END.
void parseCalendar(const QByteArray &ics, QList<Journal> *journals)
{
    QVERIFY(ics.endsWith("\r\n"));
    QList<QByteArray> physical = ics.split('\n');
    physical.removeLast();
    QStringList logical;
    for (QByteArray line : physical) {
        QVERIFY2(line.endsWith('\r'), line.constData());
        line.chop(1);
        QVERIFY2(!line.contains('\r'), line.constData());
        QVERIFY2(line.size() <= 75, line.constData());
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(line);
        QVERIFY2(!utf8.hasError(), line.constData());
        if (line.startsWith(' ')) {
            QVERIFY(!logical.isEmpty());
            logical.last() += text.mid(1);
        } else {
            logical << text;
        }
    }

    QStringList open;
    QStringList calendarProperties;
    for (const QString &line : logical) {
        const qsizetype colon = line.indexOf(u':');
        QVERIFY2(colon > 0, qPrintable(line));
        const QString name = line.left(colon);
        const QString value = line.mid(colon + 1);
        if (name == u"BEGIN") {
            QCOMPARE(open.isEmpty(), value == u"VCALENDAR");
            open << value;
            if (value == u"VJOURNAL")
                journals->append(Journal());
        } else if (name == u"END") {
            QVERIFY(!open.isEmpty());
            QCOMPARE(value, open.takeLast());
        } else if (open == QStringList{"VCALENDAR"}) {
            calendarProperties << line;
        } else {
            QCOMPARE(open, (QStringList{"VCALENDAR", "VJOURNAL"}));
            journals->last().properties.insert(name, value);
        }
    }
    QVERIFY(open.isEmpty());
    QVERIFY(calendarProperties.contains("VERSION:2.0"));
    QVERIFY(calendarProperties.filter(QRegularExpression("^PRODID:.+")).size() == 1);

    for (const Journal &journal : *journals) {
        for (const char *name : {"UID", "DTSTAMP", "DTSTART;VALUE=DATE", "SUMMARY", "DESCRIPTION"})
            QCOMPARE(journal.properties.count(name), 1);
        QVERIFY(QRegularExpression("^\\d{8}T\\d{6}Z$").match(journal.properties.value("DTSTAMP")).hasMatch());
        QVERIFY(QRegularExpression("^\\d{8}$").match(journal.properties.value("DTSTART;VALUE=DATE")).hasMatch());
        QVERIFY(!unescapedText(journal.properties.value("SUMMARY")).isNull());
        QVERIFY(!unescapedText(journal.properties.value("DESCRIPTION")).isNull());
    }
}

QList<Journal> exportCalendar(const NotesFixture &fixture, QByteArray *err = nullptr)
{
    const auto result = fixture.run({"export", "--format", "ics"});
    if (err)
        *err = result.err;
    QList<Journal> journals;
    if (result.exitCode != 0) {
        qWarning("exit code %d: %s", result.exitCode, result.err.constData());
        return {};
    }
    parseCalendar(result.out, &journals);
    return journals;
}

} // namespace

// "export" in its three formats: every note in, nothing altered, files that
// other programs read.
class NotesExportTest : public QObject
{
    Q_OBJECT

private slots:
    void icsText_data();
    void icsText();
    void icsEntryPerDatedNote();
    void icsUidsStayPerKey();
    void icsWithoutEntries_data();
    void icsWithoutEntries();
    void markdown_data();
    void markdown();
    void json();
    void importAddsBelowOnce_data();
    void importAddsBelowOnce();
    void importRefuses_data();
    void importRefuses();
};

void NotesExportTest::icsText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("summary");

    const QString symbols = QString("Ä€😀").repeated(40);
    QTest::newRow("plain") << "Dentist at 9" << "Dentist at 9" << "Dentist at 9";
    QTest::newRow("characters to escape") << "a\\b;c,d\nnext" << "a\\b;c,d\nnext" << "a\\b;c,d";
    QTest::newRow("Windows line breaks") << "one\r\ntwo" << "one\ntwo" << "one";
    QTest::newRow("first line empty") << "\n  \nthird " << "\n  \nthird " << "third";
    QTest::newRow("long line") << QString(300, u'x') << QString(300, u'x') << QString(300, u'x');
    for (int shift = 0; shift < 4; ++shift) {
        const QString text = QString(shift, u'x') + symbols;
        QTest::addRow("long line of multi-byte characters, shifted by %d", shift) << text << text << text;
    }
    QTest::newRow("control characters") << "bell\a, form\ffeed\ttab" << "bell, formfeed\ttab" << "bell, formfeed\ttab";
}

void NotesExportTest::icsText()
{
    QFETCH(QString, stored);
    QFETCH(QString, description);
    QFETCH(QString, summary);
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, stored);

    const QList<Journal> journals = exportCalendar(fixture);
    if (QTest::currentTestFailed())
        return;

    QCOMPARE(journals.size(), 1);
    QCOMPARE(unescapedText(journals.first().properties.value("DESCRIPTION")), description);
    QCOMPARE(unescapedText(journals.first().properties.value("SUMMARY")), summary);
}

void NotesExportTest::icsEntryPerDatedNote()
{
    NotesFixture fixture;
    fixture.putNote("December", "2021", 30, "new year's eve");
    fixture.putNote("February", "2024", 28, "leap day");
    fixture.putNote("August", "2021", 5, "dentist");
    fixture.putNote("Augst", "2021", 5, "typed with a typo");
    fixture.putNote("February", "2021", 29, "no such day");
    fixture.putNote("August", "", 5, "");

    QByteArray err;
    const QList<Journal> journals = exportCalendar(fixture, &err);
    if (QTest::currentTestFailed())
        return;

    QStringList entries;
    for (const Journal &journal : journals)
        entries << journal.properties.value("DTSTART;VALUE=DATE") + u' ' + journal.properties.value("DESCRIPTION");
    QCOMPARE(entries, (QStringList{"20210806 dentist", "20211231 new year's eve", "20240229 leap day"}));
    QCOMPARE(err, QByteArray("tavorin-notes: skipped the note \"Augst_2021_txtNote_5\": its key names no date.\n"
                             "tavorin-notes: skipped the note \"February_2021_txtNote_29\": its key names no date.\n"));
}

void NotesExportTest::icsUidsStayPerKey()
{
    NotesFixture fixture;
    fixture.putNote("August", "2021", 5, "first version");
    fixture.putNote("August", "2021", 6, "other day");
    const QList<Journal> before = exportCalendar(fixture);
    fixture.putNote("August", "2021", 5, "second version");
    fixture.putNote("August", "2021", 4, "a day earlier");
    const QList<Journal> after = exportCalendar(fixture);
    if (QTest::currentTestFailed())
        return;

    QMap<QString, QString> uidOfDay;
    for (const Journal &journal : before)
        uidOfDay.insert(journal.properties.value("DTSTART;VALUE=DATE"), journal.properties.value("UID"));
    QCOMPARE(uidOfDay.size(), 2);
    QCOMPARE(after.size(), 3);
    QSet<QString> uids;
    for (const Journal &journal : after) {
        const QString day = journal.properties.value("DTSTART;VALUE=DATE");
        if (uidOfDay.contains(day))
            QCOMPARE(journal.properties.value("UID"), uidOfDay.value(day));
        uids.insert(journal.properties.value("UID"));
    }
    QCOMPARE(uids.size(), 3);
}

void NotesExportTest::icsWithoutEntries_data()
{
    QTest::addColumn<QStringList>("keys"); // each stored with a text
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("no note") << QStringList{} << QStringList{} << 1
                             << "No note to export: an iCalendar file needs at least one.";
    QTest::newRow("only notes without a date")
        << QStringList{"Someday_2021_txtNote_0", "August_21_txtNote_5"} << QStringList{} << 1
        << "None of the 2 notes has a date: an iCalendar file needs at least one.";
    QTest::newRow("no note in the month") << QStringList{"August_2021_txtNote_5"} << QStringList{"--month", "2021-09"}
                                          << 1 << "No note to export: an iCalendar file needs at least one.";
    QTest::newRow("German names under the C locale") << QStringList{"März_2021_txtNote_0", "Dezember_2021_txtNote_5"}
                                                     << QStringList{} << 0 << "";
    QTest::newRow("quiet keeps the skipped notes to itself")
        << QStringList{"August_2021_txtNote_5", "Someday_2021_txtNote_0"} << QStringList{"-q"} << 0 << "";
}

void NotesExportTest::icsWithoutEntries()
{
    QFETCH(QStringList, keys);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    NotesFixture fixture;
    fixture.put("Text1", "2021"); // a store, whatever keys holds
    for (const QString &key : keys)
        fixture.put(key, "a note");
    QProcessEnvironment cLocale;
    cLocale.insert("LC_ALL", "C");

    const auto result = fixture.run(QStringList{"export", "--format", "ics"} + options, cLocale);

    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(QString::fromUtf8(result.err), message.isEmpty() ? QString() : "tavorin-notes: " + message + "\n");
    if (exitCode != 0) {
        QCOMPARE(result.out, QByteArray());
        return;
    }
    QList<Journal> journals;
    parseCalendar(result.out, &journals);
    QVERIFY(!journals.isEmpty());
}

void NotesExportTest::markdown_data()
{
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entry");

    QTest::newRow("plain") << "August" << "2021" << "dentist\nat 9"
                           << "## 2021-08-06\n\n```\ndentist\nat 9\n```\n";
    QTest::newRow("markup stays text") << "August" << "2021" << "# not a heading\n* not a list <b>"
                                       << "## 2021-08-06\n\n```\n# not a heading\n* not a list <b>\n```\n";
    QTest::newRow("fence longer than the text's backticks")
        << "August" << "2021" << "```\ncode\n``````" << "## 2021-08-06\n\n```````\n```\ncode\n``````\n```````\n";
    QTest::newRow("no date, punctuation escaped")
        << "Augst" << "20_21" << "idea" << "## Augst 20\\_21\\, day 6 \\(no date\\)\n\n```\nidea\n```\n";
    QTest::newRow("Windows line breaks") << "August" << "2021" << "one\r\ntwo"
                                         << "## 2021-08-06\n\n```\none\ntwo\n```\n";
}

void NotesExportTest::markdown()
{
    QFETCH(QString, month);
    QFETCH(QString, year);
    QFETCH(QString, text);
    QFETCH(QString, entry);
    NotesFixture fixture;
    fixture.putNote(month, year, 5, text);

    const auto result = fixture.run({"export"}); // Markdown unless told otherwise

    QCOMPARE(result.exitCode, 0);
    QCOMPARE(QString::fromUtf8(result.out), "# Tavorin Planner notes\n\n" + entry);
}

void NotesExportTest::json()
{
    NotesFixture fixture;
    const QString tricky = "\"quoted\" \\ back\nslash 😀 Ä";
    fixture.putNote("August", "2021", 5, tricky, "255");
    fixture.putNote("Augst", "20_21", 0, "undated", "red");
    fixture.put("Text1", "2021");

    const auto result = fixture.run({"export", "--format", "json"});

    QCOMPARE(result.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject root = document.object();
    QCOMPARE(root.value("application").toString(), "Quillmere");
    QCOMPARE(root.value("section").toString(), "Tavorin Planner");
    const QJsonArray notes = root.value("notes").toArray();
    QCOMPARE(notes.size(), 2);
    QCOMPARE(notes.at(0).toObject(),
             (QJsonObject{{"key", "August_2021_txtNote_5"}, {"month", "August"}, {"year", "2021"}, {"day", 6},
                          {"date", "2021-08-06"}, {"text", tricky}, {"color", 255}}));
    QCOMPARE(notes.at(1).toObject(),
             (QJsonObject{{"key", "Augst_20_21_txtNote_0"}, {"month", "Augst"}, {"year", "20_21"}, {"day", 1},
                          {"date", QJsonValue()}, {"text", "undated"}, {"color", QJsonValue()}}));
}

void NotesExportTest::importAddsBelowOnce_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("our iCalendar") << "ics";
    QTest::newRow("our JSON") << "json";
    QTest::newRow("another program's iCalendar") << "other";
}

// Import brings each entry to its day, adds below an existing note, changes
// nothing in a dry run or the second time.
void NotesExportTest::importAddsBelowOnce()
{
    QFETCH(QString, format);
    NotesFixture source, target;
    source.putNote("August", "2021", 5, "dentist\r\nat 9", "255");
    source.putNote("August", "2021", 6, "new day");
    source.putNote("August", "2021", 7, "  blanks at both ends\t");
    QByteArray file = source.run({"export", "--format", format == "other" ? "ics" : format}).out;
    if (format == "other") // as a program without our key and colour properties writes it
        file = QString::fromUtf8(file).remove(QRegularExpression("X-TAVORIN-[A-Z]+:[^\\r]*\\r\\n")).toUtf8();
    QFile out(target.path("in"));
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    target.putNote("August", "2021", 5, "mine");
    const auto before = NotesFixture::contents(target.storePath());

    QCOMPARE(target.run({"import", "--dry-run", target.path("in")}).exitCode, 0);
    QCOMPARE(NotesFixture::contents(target.storePath()), before);
    QCOMPARE(target.run({"import", target.path("in")}).exitCode, 0);
    const auto imported = NotesFixture::contents(target.storePath());
    QCOMPARE(target.run({"import", target.path("in")}).exitCode, 0);

    // Our formats keep every byte; another program's entry has iCalendar's line breaks.
    QCOMPARE(imported.value("August_2021_txtNote_5"), format == "other" ? "mine\ndentist\nat 9" : "mine\ndentist\r\nat 9");
    QCOMPARE(imported.value("August_2021_txtNote_6"), "new day");
    QCOMPARE(imported.value("August_2021_txtNote_7"), format == "other" ? "blanks at both ends" : "  blanks at both ends\t");
    QCOMPARE(imported.value("August_2021_txtNoteColor_5"), "0"); // the note's own colour stays
    QCOMPARE(NotesFixture::contents(target.storePath()), imported);
}

void NotesExportTest::importRefuses_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("stored"); // the keys the store holds afterwards, besides Text1

    const auto calendar = [](const QByteArray &journals) {
        return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\n" + journals + "END:VCALENDAR\r\n";
    };
    const auto journal = [](const QByteArray &key, const QByteArray &more = {}) {
        return "BEGIN:VJOURNAL\r\nUID:" + key + "\r\nDTSTAMP:20260101T000000Z\r\nDESCRIPTION:abc\r\nX-TAVORIN-KEY:" + key
               + "\r\n" + more + "END:VJOURNAL\r\n";
    };
    QTest::newRow("keys of the window's other settings")
        << calendar(journal("Text1") + journal("Text2") + journal("Forecolor") + journal("x'); DROP TABLE settings;--"))
        << 0 << "skipped the entry \"Text2\": that is not the key of a note." << QStringList{};
    QTest::newRow("colours the window cannot store")
        << calendar(journal("August_2021_txtNote_5", "X-TAVORIN-COLOR:not-a-colour\r\n")
                    + journal("August_2021_txtNote_6", "X-TAVORIN-COLOR:99999999999\r\n"))
        << 0 << "skipped the colour \"99999999999\" of August_2021_txtNote_6"
        << QStringList{"August_2021_txtNote_5", "August_2021_txtNote_6"};
    QTest::newRow("JSON with an empty key") << QByteArray(R"({"notes":[{"key":"","text":"abc"}]})") << 0
                                            << "skipped the entry \"\": that is not the key of a note." << QStringList{};
    QTest::newRow("entry without its END") << calendar("BEGIN:VJOURNAL\r\nUID:a\r\nDESCRIPTION:abc\r\n") << 3
                                           << "where END:VJOURNAL of line 4 belongs" << QStringList{};
    QTest::newRow("calendar cut short") << QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n") << 3
                                        << "line 1: BEGIN:VCALENDAR has no END:VCALENDAR" << QStringList{};
    QTest::newRow("a line of 2 MB") << calendar(journal("August_2021_txtNote_5", "X-OTHER:" + QByteArray(2 << 20, 'x') + "\r\n"))
                                    << 3 << "line 9 is longer than 1 MB" << QStringList{};
    QTest::newRow("a folded line of 2 MB")
        << calendar(journal("August_2021_txtNote_5", "X-OTHER:" + QByteArray(2 << 20, 'x').replace(QByteArray(70, 'x'), QByteArray(70, 'x') + "\r\n ") + "\r\n"))
        << 3 << "line 9 is longer than 1 MB" << QStringList{};
    QTest::newRow("nested deeper than a calendar") << "BEGIN:VCALENDAR\r\n" + QByteArray("BEGIN:X\r\n").repeated(100) << 3 << "nested deeper than 8"
                                                   << QStringList{};
}

// A crafted file writes nothing but notes, and colours the window could
// have stored; a broken or oversized one is refused with its line, in time.
void NotesExportTest::importRefuses()
{
    QFETCH(QByteArray, file);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QStringList, stored);
    NotesFixture target;
    target.put("Text1", "2021");
    QFile in(target.path("in"));
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write(file);
    in.close();
    QElapsedTimer clock;
    clock.start();

    const auto result = target.run({"import", target.path("in")});

    QVERIFY(clock.elapsed() < 10000);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.contains(message.toUtf8()), result.err.constData());
    QMap<QString, QString> after = NotesFixture::contents(target.storePath());
    QCOMPARE(after.take("Text1"), "2021");
    QCOMPARE(QStringList(after.keys()).filter("_txtNote_"), stored);
    for (const QString &key : after.keys())
        QVERIFY2(key.contains("_txtNote_"), qPrintable(key)); // colours too, under the note's colour key
    QVERIFY(!after.contains("August_2021_txtNoteColor_6"));
}

QTEST_GUILESS_MAIN(NotesExportTest)
#include "tst_notes_export.moc"
