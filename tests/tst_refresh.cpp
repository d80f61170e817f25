// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowTestCase.h"

#include "platform/Failure.h"
#include "settings/Settings.h"

#include <QTest>

using namespace TestEnvironment;
using namespace FormHarness;

// The refill of both panels: which cells show, their captions, the notes they load.
class RefreshTest : public WindowTestCase
{
    Q_OBJECT

private slots:
    void init()
    {
        beginTest();
        startPlanner(false);
    }
    void cleanup() { endTest(); }

    void captionsFollowTheMonth_data()
    {
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<int>("days");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("August 2021") << "August" << "2021" << 31 << "01 Sun" << "31 Tue";
        QTest::newRow("February 2021") << "February" << "2021" << 28 << "01 Mon" << "28 Sun";
        QTest::newRow("February 2024, leap") << "February" << "2024" << 29 << "01 Thu" << "29 Thu";
        QTest::newRow("February 1900, no leap") << "February" << "1900" << 28 << "01 Thu" << "28 Wed";
        QTest::newRow("February 2000, leap") << "February" << "2000" << 29 << "01 Tue" << "29 Tue";
        QTest::newRow("April 2021") << "April" << "2021" << 30 << "01 Thu" << "30 Fri";
        QTest::newRow("year 100") << "January" << "100" << 31 << "01 Fri" << "31 Sun";
        QTest::newRow("year 9999") << "December" << "9999" << 31 << "01 Wed" << "31 Fri";
        QTest::newRow("leading zero") << "August" << "02021" << 31 << "01 Sun" << "31 Tue";
    }
    void captionsFollowTheMonth()
    {
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(int, days);
        QFETCH(QString, first);
        QFETCH(QString, last);
        for (int number : {1, 2}) {
            MonthPanel *shown = panel(*m_form, number);
            shown->yearBox()->setText(year);
            selectMonth(shown, month);
            QCOMPARE(shownCells(shown), days);
            QCOMPARE(shown->dayCaption(0)->text(), first);
            QCOMPARE(shown->dayCaption(days - 1)->text(), last);
        }
    }

    void inputsThatNameNoMonthShowNoCells_data()
    {
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("noMonthSelected");
        QTest::newRow("empty year") << "" << false;
        QTest::newRow("letters") << "abc" << false;
        QTest::newRow("negative") << "-5" << false;
        QTest::newRow("two digits") << "21" << false;
        QTest::newRow("above 9999") << "10000" << false;
        QTest::newRow("no month selected") << "2021" << true;
    }
    void inputsThatNameNoMonthShowNoCells()
    {
        QFETCH(QString, year);
        QFETCH(bool, noMonthSelected);
        m_form->panel1()->yearBox()->setText(year);
        if (noMonthSelected)
            m_form->panel1()->monthSelector()->setCurrentIndex(-1);
        m_form->RefreshCalendar();
        QCOMPARE(shownCells(m_form->panel1()), 0);
        QCOMPARE(shownCells(m_form->panel2()), 30);
    }

    void shorterMonthHidesTheCellsPastItsEnd()
    {
        m_store->put("February_2021_txtNote_30", "never shown");
        selectMonth(m_form->panel1(), "February");
        QCOMPARE(shownCells(m_form->panel1()), 28);
        QVERIFY(m_form->panel1()->noteBox(30)->isHidden());
        QCOMPARE(m_form->panel1()->noteBox(30)->text(), QString("never shown")); // hidden cells load too
        selectMonth(m_form->panel1(), "March");
        QCOMPARE(shownCells(m_form->panel1()), 31);
        QCOMPARE(m_form->panel1()->noteBox(30)->text(), QString());
    }

    void refillWritesNothing()
    {
        m_store->put("August_2021_txtNote_3", "x");
        m_store->clearWrites();
        m_form->RefreshCalendar();
        selectMonth(m_form->panel2(), "August");
        selectMonth(m_form->panel1(), "July");
        QVERIFY2(m_store->writes().isEmpty(), qPrintable(m_store->writtenKeys().join(", ")));
        QVERIFY(!m_form->isRefreshing());
    }

    void notesLoadWithTheirColours_data()
    {
        QTest::addColumn<QString>("storedColour"); // empty: no colour stored
        QTest::addColumn<qint32>("shownColour");
        QTest::newRow("red") << "255" << 255;
        QTest::newRow("blue") << "16711680" << 16711680;
        QTest::newRow("missing") << QString() << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("exponent") << "1e3" << 0;
        QTest::newRow("below 32 bits") << "-2147483649" << 0;
        QTest::newRow("huge run of digits") << QString(400, u'9') << 0;
        QTest::newRow("names no colour") << "16777216" << 0;
    }
    void notesLoadWithTheirColours()
    {
        QFETCH(QString, storedColour);
        QFETCH(qint32, shownColour);
        m_store->put("July_2021_txtNote_2", "Holiday");
        m_store->put("July_2021_txtNote_3", "Beach");
        m_store->put("July_2021_txtNoteColor_3", "65280");
        if (!storedColour.isNull())
            m_store->put("July_2021_txtNoteColor_2", storedColour);
        selectMonth(m_form->panel1(), "July");
        QCOMPARE(m_form->panel1()->noteBox(2)->text(), QString("Holiday"));
        QCOMPARE(m_form->panel1()->noteBox(2)->foreColor(), shownColour);
        QCOMPARE(m_form->panel1()->noteBox(3)->foreColor(), 65280); // one bad value hides no other note
        QCOMPARE(m_form->panel1()->noteBox(3)->text(), QString("Beach"));
        QVERIFY(m_messages->shown().isEmpty());
    }

    void bothPanelsOnOneMonthShowTheSameNotes()
    {
        m_store->put("September_2021_txtNote_4", "Shared");
        m_store->put("September_2021_txtNoteColor_4", "255");
        selectMonth(m_form->panel1(), "September");
        for (MonthPanel *shown : {m_form->panel1(), m_form->panel2()}) {
            QCOMPARE(shown->noteBox(4)->text(), QString("Shared"));
            QCOMPARE(shown->noteBox(4)->foreColor(), 255);
        }
    }

    void yearTextIsUsedVerbatimInKeys()
    {
        m_store->put("August_2021_txtNote_0", "four digits");
        m_store->put("August_02021_txtNote_0", "leading zero");
        m_form->panel1()->yearBox()->setText("02021");
        m_form->RefreshCalendar();
        QCOMPARE(shownCells(m_form->panel1()), 31);
        QCOMPARE(m_form->panel1()->noteBox(0)->text(), QString("leading zero"));
    }

    void failedRefillStillClearsTheFlag()
    {
        QTemporaryDir folder;
        Settings::useStoreAt(writeBrokenStore(folder.path()));
        QVERIFY_THROWS_EXCEPTION(Failure, m_form->RefreshCalendar());
        QVERIFY(!m_form->isRefreshing());
    }
};

QTEST_MAIN(RefreshTest)
#include "tst_refresh.moc"
