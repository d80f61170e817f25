// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"
#include "notes/NoteKey.h"
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"

#include "calendar/Controls.h"
#include "calendar/ErrorReport.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace TestEnvironment;

namespace {

// Stored colour texts that are no colour, as a damaged or hand-edited store
// may hold them.
void addBadColorRows()
{
    QTest::addColumn<QString>("stored");
    QTest::newRow("letters") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("one above the 32-bit range") << "2147483648";
    QTest::newRow("one below the 32-bit range") << "-2147483649";
    QTest::newRow("leading blank") << " 255";
    QTest::newRow("trailing blank") << "255 ";
    QTest::newRow("plus sign") << "+255";
    QTest::newRow("exponent") << "1e3";
    QTest::newRow("fraction") << "2.5";
    QTest::newRow("a thousand digits") << QString(1000, u'9');
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("٢٥٥");
    QTest::newRow("a whole number that is no colour") << "16777216";
    QTest::newRow("an unknown system colour") << "-1";
}

} // namespace

// Stored and typed values that are not what the planner itself would store:
// each has a defined result, and none crashes.
// Starts the window as the program does and makes it the active one.
static void showActive(Form1 &window)
{
    window.Form_Load();
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

class BadValuesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        useEnglishNames();
        FixedToday::set(QDate(2021, 8, 15));
    }

    // A bad "Forecolor" is the start-up's step 144: reported with its line,
    // the swatch stays black, and the panels still fill (step 146 runs).
    void badForecolorIsReportedAtLine144_data() { addBadColorRows(); }
    void badForecolorIsReportedAtLine144()
    {
        QFETCH(QString, stored);
        RecordedMessages messages;
        PrivateStore store;
        store.put(Settings::NoteColorKey, stored);
        Form1 window;
        window.Form_Load();
        QCOMPARE(messages.shown().size(), 1);
        const ShownMessage &report = messages.shown().constFirst();
        QCOMPARE(report.title, ErrorReport::Title);
        QCOMPARE(report.style, 48);
        QVERIFY2(report.text.contains(Form1::FormLoadLocation + QStringLiteral("at line 144\r\r")), qPrintable(report.text));
        QCOMPARE(window.swatch()->backColor(), 0);
        QCOMPARE(FaultKit::shownCells(window.panel1()), 31);
        QCOMPARE(FaultKit::shownCells(window.panel2()), 30);
        QCOMPARE(store.contents().value(Settings::NoteColorKey), stored); // read, never rewritten
    }

    // A bad note colour gives that note black text in every refill, without
    // a report; the notes around it keep their colours.
    void badNoteColorGivesBlackText_data() { addBadColorRows(); }
    void badNoteColorGivesBlackText()
    {
        QFETCH(QString, stored);
        RecordedMessages messages;
        PrivateStore store;
        store.put(NoteKey::text("August", "2021", 5), QStringLiteral("Dentist"));
        store.put(NoteKey::color("August", "2021", 5), stored);
        store.put(NoteKey::text("August", "2021", 6), QStringLiteral("Gym"));
        store.put(NoteKey::color("August", "2021", 6), QStringLiteral("255"));
        store.put(NoteKey::color("September", "2021", 5), stored);
        Form1 window;
        window.Form_Load();
        window.RefreshCalendar();
        QCOMPARE(messages.shown().size(), 0);
        const NoteBox *note = window.panel1()->noteBox(5);
        QCOMPARE(note->text(), QStringLiteral("Dentist"));
        QCOMPARE(note->foreColor(), 0);
        QCOMPARE(note->palette().color(QPalette::Text), QColor(Qt::black));
        QCOMPARE(window.panel1()->noteBox(6)->foreColor(), 255);
        QCOMPARE(window.panel2()->noteBox(5)->foreColor(), 0);
        QCOMPARE(FaultKit::shownCells(window.panel1()), 31);
        QCOMPARE(FaultKit::shownCells(window.panel2()), 30);
    }

    // What a year box holds after the user has typed into it and left it,
    // what the store then holds, and how many days its panel shows. Numbers
    // (sign, ASCII digits, one '.') stay as typed; anything else becomes the
    // current year. Only ASCII digits worth 100 to 9999 name a year with days.
    void typedYearHasADefinedResult_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("cells");
        QTest::newRow("nothing") << "" << "2021" << 31;
        QTest::newRow("letters") << "abc" << "2021" << 31;
        QTest::newRow("negative") << "-5" << "-5" << 0;
        QTest::newRow("plus sign") << "+2021" << "+2021" << 0;
        QTest::newRow("leading blank") << " 2021" << "2021" << 31;
        QTest::newRow("trailing blank") << "2021 " << "2021" << 31;
        QTest::newRow("zero") << "0" << "0" << 0;
        QTest::newRow("two digits") << "21" << "21" << 0;
        QTest::newRow("year 100 with leading zero") << "0100" << "0100" << 31;
        QTest::newRow("year 9999") << "9999" << "9999" << 31;
        QTest::newRow("above 9999") << "99999" << "99999" << 0;
        QTest::newRow("fraction") << "2021.5" << "2021.5" << 0;
        QTest::newRow("two points") << "20.2.1" << "2021" << 31;
        QTest::newRow("exponent") << "2e3" << "2021" << 31;
        QTest::newRow("thousands separator") << "2,021" << "2021" << 31;
        QTest::newRow("a hundred digits") << QString(100, u'7') << QString(100, u'7') << 0;
        QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("٢٠٢١") << "2021" << 31;
        QTest::newRow("full-width digits") << QString::fromUtf8("２０２１") << "2021" << 31;
        QTest::newRow("Devanagari digits") << QString::fromUtf8("२०२१") << "2021" << 31;
    }
    void typedYearHasADefinedResult()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(int, cells);
        RecordedMessages messages;
        PrivateStore store;
        Form1 window;
        showActive(window);

        QLineEdit *year = window.panel1()->yearBox();
        FaultKit::giveFocus(year);
        year->selectAll();
        QTest::keyClick(year, Qt::Key_Backspace);
        FaultKit::typeText(year, typed);
        QCOMPARE(year->text(), typed);
        QCOMPARE(store.contents().value(Settings::YearOfPanel1Key), typed);
        FaultKit::giveFocus(window.panel1()->monthSelector());

        QCOMPARE(year->text(), kept);
        QCOMPARE(store.contents().value(Settings::YearOfPanel1Key), kept);
        QCOMPARE(FaultKit::shownCells(window.panel1()), cells);
        QCOMPARE(FaultKit::shownCells(window.panel2()), 30);
        QCOMPARE(messages.shown().size(), 0);
    }

    // A very long text arrives with one paste; a number stays, anything else
    // becomes the current year.
    void pastedLongYearHasADefinedResult_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("100k letters") << QString(100000, u'x') << "2021";
        QTest::newRow("100k digits") << QString(100000, u'1') << QString(100000, u'1');
    }
    void pastedLongYearHasADefinedResult()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        RecordedMessages messages;
        PrivateStore store;
        Form1 window;
        showActive(window);

        QLineEdit *year = window.panel2()->yearBox();
        FaultKit::giveFocus(year);
        year->selectAll();
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(year, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(year->text().size(), pasted.size());
        FaultKit::giveFocus(window.panel2()->monthSelector());

        QCOMPARE(year->text(), kept);
        QCOMPARE(store.contents().value(Settings::YearOfPanel2Key), kept);
        QCOMPARE(FaultKit::shownCells(window.panel2()), kept == QLatin1String("2021") ? 30 : 0);
        QCOMPARE(FaultKit::shownCells(window.panel1()), 31);
        QCOMPARE(messages.shown().size(), 0);
    }

    // A month selector with nothing selected names no month: its panel shows
    // no day, the other fills as usual, and nothing is stored or reported.
    void noMonthSelectedShowsNoDays()
    {
        RecordedMessages messages;
        PrivateStore store;
        Form1 window;
        window.Form_Load();
        store.clearWrites();
        window.panel1()->monthSelector()->setCurrentIndex(-1);
        QCOMPARE(FaultKit::shownCells(window.panel1()), 0);
        QCOMPARE(FaultKit::shownCells(window.panel2()), 30);
        QVERIFY(store.writes().isEmpty());
        QCOMPARE(messages.shown().size(), 0);
    }
};

QTEST_MAIN(BadValuesTest)
#include "tst_badvalues.moc"
