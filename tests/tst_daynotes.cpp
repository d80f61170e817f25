// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowTestCase.h"

#include "notes/NoteKey.h"
#include "notes/TextMerge.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextCursor>
#include <QTimer>
#include <QToolTip>

using namespace TestEnvironment;
using namespace FormHarness;

// Typing into notes and year boxes, choosing months: what the store and the
// panels show afterwards. The window is shown and active, and focus moves as
// it does for a user.
class DayNotesTest : public WindowTestCase
{
    Q_OBJECT

    NoteBox *note(int panelNumber, int cell) const { return panel(*m_form, panelNumber)->noteBox(cell); }

private slots:
    void init()
    {
        beginTest();
        startPlanner();
    }
    void cleanup() { endTest(); }

    void oneCharacterStoresTextThenColour()
    {
        focus(note(1, 5));
        QTest::keyClicks(note(1, 5), "D");
        const QList<std::pair<QString, QString>> expected{{"August_2021_txtNote_5", "D"},
                                                          {"August_2021_txtNoteColor_5", "0"}};
        QCOMPARE(m_store->writes(), expected);
    }

    // Another copy of the planner (or sync) stores a note in a day this one
    // shows, and a key is typed here before the window has looked again: the
    // keystroke is merged with what the other copy stored, never dropped and
    // never stored over it. Only edits of the same place keep both versions.
    void noteOfAnotherCopyIsNeverOverwritten_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("otherCell");
        QTest::addColumn<QString>("otherText");
        QTest::addColumn<QString>("typedBoxShows");
        const QString conflict = u'\n' + TextMerge::ConflictLine + u'\n';
        QTest::newRow("into the box that looked empty") << "" << 5 << "other copy's note"
                                                        << "k" + conflict + "other copy's note";
        QTest::newRow("into another box") << "" << 6 << "other copy's note" << "k";
        QTest::newRow("a line added elsewhere") << "Dentist 9:30\nbring forms" << 5
                                                << "Dentist 9:30\nbring forms\ncall back"
                                                << "kDentist 9:30\nbring forms\ncall back";
        QTest::newRow("same word changed") << "Dentist 9:30" << 5 << "Xentist 9:30"
                                           << "kDentist 9:30" + conflict + "Xentist 9:30";
    }
    void noteOfAnotherCopyIsNeverOverwritten()
    {
        QFETCH(QString, before);
        QFETCH(int, otherCell);
        QFETCH(QString, otherText);
        QFETCH(QString, typedBoxShows);
        m_store->put("August_2021_txtNote_5", before);
        m_form->RefreshCalendar();
        focus(note(1, 5));
        QTest::keyClick(note(1, 5), Qt::Key_Home, Qt::ControlModifier);
        SettingsStore(m_store->path())
            .save(Settings::Application, Settings::Section, NoteKey::text("August", "2021", otherCell), otherText);

        QTest::keyClicks(note(1, 5), "k");

        QCOMPARE(note(1, 5)->text(), typedBoxShows);
        if (otherCell != 5)
            QCOMPARE(note(1, otherCell)->text(), otherText);
        const auto stored = m_store->contents();
        QCOMPARE(stored.value("August_2021_txtNote_5"), typedBoxShows);
        QCOMPARE(note(1, 5)->textCursor().position(), 1);
    }

    // Another program stores notes while the user works in a box: within a
    // second the window shows them with no input here, writes nothing back,
    // and the focused box keeps the caret and the selection on the same text,
    // the year box half typed as it is.
    void outsideChangeKeepsCaretAndSelection_data()
    {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("otherText");
        QTest::addColumn<int>("anchorAfter");
        QTest::addColumn<int>("positionAfter");
        QTest::newRow("change after the caret") << 3 << 3 << "Dentist 9:30\nbring all forms" << 3 << 3;
        QTest::newRow("change before the caret") << 16 << 16 << "Dentist 10:30\nbring forms" << 17 << 17;
        QTest::newRow("selection, line added above") << 0 << 7 << "Monday\nDentist 9:30\nbring forms" << 7 << 14;
        QTest::newRow("caret in the changed words") << 10 << 10 << "Dentist at noon\nbring forms" << 15 << 15;
    }
    void outsideChangeKeepsCaretAndSelection()
    {
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, otherText);
        QFETCH(int, anchorAfter);
        QFETCH(int, positionAfter);
        m_store->put("August_2021_txtNote_5", "Dentist 9:30\nbring forms");
        m_form->RefreshCalendar();
        m_form->panel2()->yearBox()->setText("20");
        focus(note(1, 5));
        QTextCursor cursor = note(1, 5)->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        note(1, 5)->setTextCursor(cursor);
        m_store->clearWrites();

        SettingsStore other(m_store->path());
        other.save(Settings::Application, Settings::Section, "August_2021_txtNote_5", otherText);
        other.save(Settings::Application, Settings::Section, "August_2021_txtNote_6", "from the phone");

        QTRY_COMPARE_WITH_TIMEOUT(note(1, 6)->text(), "from the phone", 1000);
        QCOMPARE(note(1, 5)->text(), otherText);
        QCOMPARE(QApplication::focusWidget(), note(1, 5));
        QCOMPARE(note(1, 5)->textCursor().anchor(), anchorAfter);
        QCOMPARE(note(1, 5)->textCursor().position(), positionAfter);
        QCOMPARE(m_form->panel2()->yearBox()->text(), "20");
        QCOMPARE(shownCells(m_form->panel2()), 30); // September 2021, as last filled
        QVERIFY2(m_store->writes().isEmpty(), qPrintable(m_store->writtenKeys().join(", ")));
        QVERIFY(!m_form->isRefreshing());
    }

    // A note longer than its box shows whole in the box's tooltip, as typed.
    void everyEditIsStored_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("two lines, four in the box") << "Dentist 9:30\nbring forms" << "Dentist 9:30\nbring forms"
                                                    << "Dentist 9:30\nbring forms";
        QTest::newRow("backspace") << "abc\b" << "ab" << "";
        QTest::newRow("emptied") << "x\b" << "" << "";
        QTest::newRow("unicode") << QString::fromUtf8("Zahnärztin — 東京") << QString::fromUtf8("Zahnärztin — 東京") << "";
        QTest::newRow("markup, too long") << "<b>Call</b> Anna about the car" << "<b>Call</b> Anna about the car"
                                          << "<b>Call</b> Anna about the car";
    }
    void everyEditIsStored()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, toolTip);
        NoteBox *box = note(2, 12);
        focus(box);
        for (QChar c : typed) {
            if (c == u'\b')
                QTest::keyClick(box, Qt::Key_Backspace);
            else if (c == u'\n')
                QTest::keyClick(box, Qt::Key_Return);
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(m_store->contents().value("September_2021_txtNote_12"), stored);
        QVERIFY(m_store->contents().contains("September_2021_txtNote_12")); // emptied is stored, not deleted
        QCOMPARE(m_store->writes().size(), 2 * typed.size());

        QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), box->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(box->viewport(), &hover);
        QCOMPARE(QToolTip::isVisible() ? QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText() : "", toolTip);
        QToolTip::hideText();
    }

    void pasteCutAndUndoAreStored()
    {
        NoteBox *box = note(1, 0);
        focus(box);
        QTest::keyClicks(box, "hello");
        QTest::keySequence(box, QKeySequence::SelectAll);
        QTest::keySequence(box, QKeySequence::Cut);
        QCOMPARE(m_store->contents().value("August_2021_txtNote_0"), QString());
        QTest::keySequence(box, QKeySequence::Paste);
        QTest::keySequence(box, QKeySequence::Paste);
        QCOMPARE(m_store->contents().value("August_2021_txtNote_0"), QString("hellohello"));
        QTest::keySequence(box, QKeySequence::Undo);
        QCOMPARE(m_store->contents().value("August_2021_txtNote_0"), box->text());
    }

    void notesComeBackAfterARestart()
    {
        m_form->swatch()->setBackColor(255);
        focus(note(1, 5));
        QTest::keyClicks(note(1, 5), "Dentist");
        m_form.reset();
        startPlanner();
        QCOMPARE(note(1, 5)->text(), QString("Dentist"));
        QCOMPARE(note(1, 5)->foreColor(), 255);
    }

    void focusGivesTheSwatchColourAndStoresNothing()
    {
        m_store->put("August_2021_txtNote_2", "old note");
        m_store->put("August_2021_txtNoteColor_2", "65280");
        m_form->RefreshCalendar();
        m_form->swatch()->setBackColor(255);
        QCOMPARE(note(1, 2)->foreColor(), 65280); // a new colour repaints no note by itself
        focus(note(1, 2));
        QCOMPARE(note(1, 2)->foreColor(), 255);
        QCOMPARE(note(1, 2)->text(), QString("old note"));
        QVERIFY(m_store->writes().isEmpty());
        focus(m_form->panel1()->monthSelector());
        m_form->RefreshCalendar();
        QCOMPARE(note(1, 2)->foreColor(), 65280); // left untouched, the stored colour stays
    }

    void windowReactivationRecoloursNothing()
    {
        focus(note(1, 1));
        m_form->swatch()->setBackColor(255);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QVERIFY(note(1, 1)->hasFocus());
        QCOMPARE(note(1, 1)->foreColor(), 0);
        QVERIFY(m_store->writes().isEmpty());
    }

    // A click into an inactive window moves the focus only once the window is
    // active again: still the year box is left and the note box reached.
    void clickIntoAnInactiveWindowMovesTheFocus()
    {
        QLineEdit *year = m_form->panel1()->yearBox();
        focus(year);
        year->setText("abc");
        m_form->swatch()->setBackColor(255);
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        note(1, 3)->setFocus(Qt::MouseFocusReason);
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
        QVERIFY(note(1, 3)->hasFocus());
        QCOMPARE(year->text(), QString("2021"));
        QCOMPARE(note(1, 3)->foreColor(), 255);
    }

    void typingAYearStoresEachTextAndRefillsOnLeaving()
    {
        QLineEdit *year = m_form->panel1()->yearBox();
        focus(year);
        QTest::keySequence(year, QKeySequence::SelectAll);
        QTest::keyClick(year, Qt::Key_Backspace);
        m_store->clearWrites();
        QTest::keyClicks(year, "2022");
        const QList<std::pair<QString, QString>> expected{
            {"Text1", "2"}, {"Text1", "20"}, {"Text1", "202"}, {"Text1", "2022"}};
        QCOMPARE(m_store->writes(), expected);
        QCOMPARE(m_form->panel1()->dayCaption(0)->text(), QString("01 Sun")); // not yet refilled
        m_store->put("August_2022_txtNote_0", "next year");
        QTest::keyClick(year, Qt::Key_Tab);
        QCOMPARE(m_form->panel1()->dayCaption(0)->text(), QString("01 Mon"));
        QCOMPARE(note(1, 0)->text(), QString("next year"));
    }

    // The refill that leaving a year box starts keeps the note box being
    // clicked into shown, so it keeps the focus. (Which texts stay in a year
    // box and which become the current year: tests/faults/tst_badvalues.)
    void clickFromAYearBoxIntoANoteKeepsTheFocus()
    {
        QLineEdit *year = m_form->panel2()->yearBox();
        focus(year);
        year->setText("2024");
        focus(note(1, 0));
        QVERIFY(note(1, 0)->hasFocus());
        QCOMPARE(m_store->contents().value("Text2"), QString("2024"));
        QCOMPARE(shownCells(m_form->panel2()), 30);
    }

    void leavingAnUnchangedYearBoxStillRefills()
    {
        m_store->put("August_2021_txtNote_9", "written by another copy");
        focus(m_form->panel1()->yearBox());
        focus(m_form->panel1()->monthSelector());
        QCOMPARE(note(1, 9)->text(), QString("written by another copy"));
    }

    void choosingAMonthRefillsBothPanels()
    {
        m_store->put("August_2021_txtNote_1", "panel 1 reloads");
        m_store->put("February_2021_txtNote_1", "panel 2 shows");
        QComboBox *months = m_form->panel2()->monthSelector();
        focus(months);
        QTest::keyClick(months, Qt::Key_Home); // January
        QTest::keyClick(months, Qt::Key_Down); // February
        QCOMPARE(m_form->panel2()->monthText(), QString("February"));
        QCOMPARE(shownCells(m_form->panel2()), 28);
        QCOMPARE(note(2, 1)->text(), QString("panel 2 shows"));
        QCOMPARE(note(1, 1)->text(), QString("panel 1 reloads"));
    }

    void bothPanelsOnOneMonthWriteTheSameNote()
    {
        selectMonth(m_form->panel2(), "August");
        focus(note(2, 3));
        QTest::keyClicks(note(2, 3), "shared");
        QCOMPARE(m_store->contents().value("August_2021_txtNote_3"), QString("shared"));
        focus(m_form->panel1()->yearBox());
        focus(m_form->panel1()->monthSelector()); // leaving the year box refills
        QCOMPARE(note(1, 3)->text(), QString("shared"));
    }

    // While the store fails, one message for the whole run; the text stays in
    // the box and the first write that succeeds again stores all of it.
    void failingStoreShowsOneMessageAndLosesNothing()
    {
        focus(note(1, 7));
        QTest::keyClicks(note(1, 7), "Meet");
        const QString storePath = m_store->path();
        QTemporaryDir folder;
        const QString brokenPath = writeBrokenStore(folder.path());
        Settings::useStoreAt(brokenPath);
        QTest::keyClicks(note(1, 7), " Anna at noon");
        QCOMPARE(m_messages->shown().size(), 1);
        QVERIFY(m_messages->shown().first().text.contains(brokenPath));
        QCOMPARE(note(1, 7)->text(), QString("Meet Anna at noon"));

        Settings::useStoreAt(storePath);
        QTest::keyClicks(note(1, 7), "!");
        QCOMPARE(m_store->contents().value("August_2021_txtNote_7"), QString("Meet Anna at noon!"));
        Settings::useStoreAt(brokenPath);
        QTest::keyClicks(note(1, 7), "?");
        QCOMPARE(m_messages->shown().size(), 2); // a new run of failures is news again
    }

    void closingTheWindowEndsTheProgram_data()
    {
        QTest::addColumn<bool>("withCtrlQ");
        QTest::newRow("close button") << false;
        QTest::newRow("Ctrl+Q in a note") << true;
    }
    void closingTheWindowEndsTheProgram()
    {
        QFETCH(bool, withCtrlQ);
        focus(note(2, 3));
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); }); // bounds the wait
        QTimer::singleShot(0, m_form.get(), [this, withCtrlQ] {
            if (withCtrlQ)
                QTest::keyClick(note(2, 3), Qt::Key_Q, Qt::ControlModifier);
            else
                m_form->close();
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!m_form->isVisible());
    }
};

QTEST_MAIN(DayNotesTest)
#include "tst_daynotes.moc"
