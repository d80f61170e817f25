// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowTestCase.h"

#include "calendar/ErrorReport.h"
#include "platform/CommonDialog.h"
#include "platform/Failure.h"
#include "settings/Settings.h"

#include <QAccessible>
#include <QTest>

using namespace TestEnvironment;
using namespace FormHarness;

namespace {

// Answers the colour dialog at once: confirms a colour, cancels, or fails.
class FakeChooser : public CommonDialog::ColorChooser
{
public:
    enum class Answer { Confirm, Cancel, Fail };

    FakeChooser(Answer answer, QColor color, QList<QColor> *openedWith)
        : m_answer(answer), m_color(color), m_openedWith(openedWith)
    {
    }

    std::optional<QColor> choose(const QColor &initial, QWidget *) override
    {
        m_openedWith->append(initial);
        if (m_answer == Answer::Fail)
            throw Failure(QStringLiteral("The colour dialog could not be shown."));
        if (m_answer == Answer::Cancel)
            return std::nullopt;
        return m_color;
    }

private:
    Answer m_answer;
    QColor m_color;
    QList<QColor> *m_openedWith;
};

const QString PictureLocation = QStringLiteral("in TavorinPlanner2021/08/31.Form1.Picture1_Click at line ");

} // namespace

// Choosing the note text colour with the swatch and the colour dialog.
class ColorPickerTest : public WindowTestCase
{
    Q_OBJECT

    QList<QColor> m_openedWith;

    void answerDialog(FakeChooser::Answer answer, QColor color = {})
    {
        m_form->colorDialog().setChooser(std::make_unique<FakeChooser>(answer, color, &m_openedWith));
    }

    void clickSwatch() { QTest::mouseClick(m_form->swatch(), Qt::LeftButton); }

private slots:
    void init()
    {
        m_openedWith.clear();
        beginTest();
        startPlanner();
    }
    void cleanup() { endTest(); }

    // Screen readers say the colour in words.
    void confirmedColourIsShownStoredAndRestored_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("red") << QColor(255, 0, 0) << "255" << "red, #FF0000";
        QTest::newRow("green") << QColor(0, 255, 0) << "65280" << "green, #00FF00";
        QTest::newRow("blue") << QColor(0, 0, 255) << "16711680" << "blue, #0000FF";
        QTest::newRow("white") << QColor(255, 255, 255) << "16777215" << "white, #FFFFFF";
        QTest::newRow("brick") << QColor(0x8B, 0x1A, 0x1A) << "1710731" << "dark red, #8B1A1A";
        QTest::newRow("sky") << QColor(0x87, 0xCE, 0xEB) << "15453831" << "light blue, #87CEEB";
    }
    void confirmedColourIsShownStoredAndRestored()
    {
        QFETCH(QColor, color);
        QFETCH(QString, stored);
        QFETCH(QString, spoken);
        answerDialog(FakeChooser::Answer::Confirm, color);
        clickSwatch();
        QCOMPARE(m_form->swatch()->backColor(), stored.toInt());
        QCOMPARE(QAccessible::queryAccessibleInterface(m_form->swatch())->text(QAccessible::Value), spoken);
        QCOMPARE(m_store->contents().value("Forecolor"), stored);
        QVERIFY(m_messages->shown().isEmpty());
        m_form.reset();
        startPlanner();
        QCOMPARE(m_form->swatch()->backColor(), stored.toInt());
    }

    void cancelInAFreshRunKeepsTheRestoredColour()
    {
        m_store->put("Forecolor", "65280");
        m_form.reset();
        startPlanner();
        answerDialog(FakeChooser::Answer::Cancel);
        clickSwatch();
        QCOMPARE(m_openedWith, QList<QColor>({QColor(0, 255, 0)})); // the dialog opens on the current colour
        QCOMPARE(m_form->swatch()->backColor(), 65280);
        QCOMPARE(m_store->contents().value("Forecolor"), QString("65280"));
    }

    void cancelAfterAConfirmedColourKeepsIt()
    {
        answerDialog(FakeChooser::Answer::Confirm, Qt::red);
        clickSwatch();
        answerDialog(FakeChooser::Answer::Cancel);
        clickSwatch();
        QCOMPARE(m_form->swatch()->backColor(), 255);
        QCOMPARE(m_store->contents().value("Forecolor"), QString("255"));
    }

    void failingDialogIsReportedAndTheCurrentValueStillApplied()
    {
        m_store->put("Forecolor", "255");
        m_form.reset();
        startPlanner();
        answerDialog(FakeChooser::Answer::Fail);
        clickSwatch();
        QCOMPARE(m_messages->shown().size(), 1);
        const ShownMessage &report = m_messages->shown().first();
        QCOMPARE(report.title, ErrorReport::Title);
        QCOMPARE(report.text, ErrorReport::text("The colour dialog could not be shown.",
                                                Form1::PictureClickLocation, 102));
        QVERIFY(report.text.contains(PictureLocation + "102\r\r"));
        QCOMPARE(m_form->swatch()->backColor(), 255);
        QCOMPARE(m_store->writtenKeys(), QStringList({"Forecolor"})); // steps 104 and 106 still ran
    }

    void failingStoreIsReportedAtItsStep()
    {
        answerDialog(FakeChooser::Answer::Confirm, Qt::blue);
        QTemporaryDir folder;
        const QString brokenPath = writeBrokenStore(folder.path());
        Settings::useStoreAt(brokenPath);
        clickSwatch();
        QCOMPARE(m_messages->shown().size(), 1);
        QVERIFY(m_messages->shown().first().text.contains(brokenPath));
        QVERIFY(m_messages->shown().first().text.contains(PictureLocation + "106\r\r"));
        QCOMPARE(m_form->swatch()->backColor(), 16711680);
    }

    void newColourReachesANoteOnlyThroughFocusAndTyping()
    {
        NoteBox *note = m_form->panel1()->noteBox(4);
        focus(note);
        answerDialog(FakeChooser::Answer::Confirm, Qt::red);
        clickSwatch();
        QCOMPARE(note->foreColor(), 0); // picking repaints no note box
        m_form->panel1()->monthSelector()->setFocus(Qt::TabFocusReason);
        note->setFocus(Qt::MouseFocusReason);
        QTRY_COMPARE(note->foreColor(), 255);
        QVERIFY(!m_store->contents().contains("August_2021_txtNoteColor_4"));
        QTest::keyClicks(note, "x");
        QCOMPARE(m_store->contents().value("August_2021_txtNoteColor_4"), QString("255"));
    }

    // Also when assistive technology presses it (key 0).
    void swatchOpensFromTheKeyboard_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("space") << int(Qt::Key_Space);
        QTest::newRow("return") << int(Qt::Key_Return);
        QTest::newRow("screen reader's Press") << 0;
    }
    void swatchOpensFromTheKeyboard()
    {
        QFETCH(int, key);
        answerDialog(FakeChooser::Answer::Confirm, Qt::red);
        m_form->swatch()->setFocus(Qt::TabFocusReason);
        if (key)
            QTest::keyClick(m_form->swatch(), Qt::Key(key));
        else
            QAccessible::queryAccessibleInterface(m_form->swatch())->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(m_openedWith.size(), 1);
        QCOMPARE(m_store->contents().value("Forecolor"), QString("255"));
    }
};

QTEST_MAIN(ColorPickerTest)
#include "tst_colorpicker.moc"
