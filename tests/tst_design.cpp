// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WindowTestCase.h"

#include <QAccessible>
#include <QApplication>
#include <QColorDialog>
#include <QGroupBox>
#include <QScopeGuard>
#include <QTest>

#include <cmath>

using namespace TestEnvironment;
using namespace FormHarness;

namespace {
// The design is drawn in twips; 15 twips make one logical pixel.
QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

qreal luminance(const QColor &color)
{
    const auto linear = [](qreal c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}

qreal contrast(const QColor &a, const QColor &b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

bool showsColor(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == color)
                return true;
    return false;
}
} // namespace

// The window as designed: size, places, fonts, captions and the Tab order.
class DesignTest : public WindowTestCase
{
    Q_OBJECT

    QWidget *control(const QString &name) const { return m_form->findChild<QWidget *>(name); }

private slots:
    void init()
    {
        beginTest();
        startPlanner();
    }
    void cleanup() { endTest(); }

    void windowHasItsFixedClientArea()
    {
        QCOMPARE(m_form->size(), QSize(952, 576));
        QCOMPARE(m_form->minimumSize(), QSize(952, 576));
        QCOMPARE(m_form->maximumSize(), QSize(952, 576));
        QCOMPARE(m_form->windowTitle(), QString("Tavorin Planner"));
        QCOMPARE(m_form->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(!(m_form->windowFlags() & Qt::WindowMaximizeButtonHint));
    }

    void controlsStandWhereDesigned_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Frame1") << "Frame1" << "Form1" << fromTwips(120, 120, 6960, 7575);
        QTest::newRow("Label1") << "Label1" << "Frame1" << fromTwips(240, 420, 570, 225);
        QTest::newRow("Combo1") << "Combo1" << "Frame1" << fromTwips(960, 360, 2055, 345);
        QTest::newRow("Label2") << "Label2" << "Frame1" << fromTwips(3360, 420, 435, 225);
        QTest::newRow("Text1") << "Text1" << "Frame1" << fromTwips(3960, 360, 975, 345);
        QTest::newRow("Frame2") << "Frame2" << "Form1" << fromTwips(7200, 120, 6960, 7575);
        QTest::newRow("Label4") << "Label4" << "Frame2" << fromTwips(240, 420, 570, 225);
        QTest::newRow("Combo2") << "Combo2" << "Frame2" << fromTwips(960, 360, 2055, 345);
        QTest::newRow("Label3") << "Label3" << "Frame2" << fromTwips(3360, 420, 435, 225);
        QTest::newRow("Text2") << "Text2" << "Frame2" << fromTwips(3960, 360, 975, 345);
        QTest::newRow("Frame3") << "Frame3" << "Form1" << fromTwips(120, 7770, 14040, 765);
        QTest::newRow("Picture1") << "Picture1" << "Frame3" << fromTwips(240, 270, 13575, 345);
        QTest::newRow("first caption") << "lblDay1_0" << "Frame1" << fromTwips(120, 840, 930, 315);
        QTest::newRow("first note") << "txtNote1_0" << "Frame1" << fromTwips(120, 1140, 930, 975);
        QTest::newRow("second row") << "lblDay2_7" << "Frame2" << fromTwips(120, 2160, 930, 315);
        QTest::newRow("middle note") << "txtNote2_17" << "Frame2" << fromTwips(3000, 3780, 930, 975);
        QTest::newRow("last column") << "txtNote1_6" << "Frame1" << fromTwips(5880, 1140, 930, 975);
        QTest::newRow("last caption") << "lblDay2_34" << "Frame2" << fromTwips(5880, 6120, 930, 315);
        QTest::newRow("last note") << "txtNote1_34" << "Frame1" << fromTwips(5880, 6420, 930, 975);
        // The test screen (800x600) is too small for the window centred: it opens at the top-left.
        QTest::newRow("window on a small screen") << "Form1" << "" << QRect(0, 0, 952, 576);
    }
    void controlsStandWhereDesigned()
    {
        QFETCH(QString, name);
        QFETCH(QString, container);
        QFETCH(QRect, geometry);
        QWidget *widget = name == "Form1" ? m_form.get() : control(name);
        QVERIFY2(widget, qPrintable(name));
        if (widget->isWindow()) { // placed by its frame, title bar and all
            QCOMPARE(QRect(widget->frameGeometry().topLeft(), widget->size()), geometry);
            return;
        }
        QCOMPARE(widget->geometry(), geometry);
        QCOMPARE(widget->parentWidget()->objectName(), container);
        QVERIFY(widget->parentWidget()->rect().contains(widget->geometry())); // nothing outside its container
    }

    // The window takes every colour from the design, whatever the theme; the
    // colour dialog, a window of its own, follows the theme.
    void windowLooksTheSameUnderAnyTheme_data()
    {
        QTest::addColumn<QPalette>("theme"); // each made from its button colour, with white text
        QTest::newRow("dark grey, as qt6ct's darker") << QPalette(QColor(0x42, 0x42, 0x45));
        QTest::newRow("white on black") << QPalette(Qt::black);
    }
    void windowLooksTheSameUnderAnyTheme()
    {
        QFETCH(QPalette, theme);
        m_store->put("August_2021_txtNote_3", "blue note");
        m_store->put("August_2021_txtNoteColor_3", "16711680");
        m_form->RefreshCalendar();
        const QImage designed = m_form->grab().toImage();
        const QPalette systemTheme = QApplication::palette();
        const auto restoreTheme = qScopeGuard([&systemTheme] { QApplication::setPalette(systemTheme); });
        QApplication::setPalette(theme);
        stopPlanner();
        startPlanner();
        QCOMPARE(m_form->grab().toImage(), designed);
        for (const auto &[name, ink] : {std::pair{"Label1", QColor(Qt::black)}, {"txtNote1_3", QColor(Qt::blue)}}) {
            const QImage shown = control(name)->grab().toImage();
            QCOMPARE(shown.pixelColor(shown.width() - 3, 2), QColor(Qt::white));
            QVERIFY2(showsColor(shown, ink), name);
        }
        QCOMPARE(QColorDialog(m_form.get()).palette().color(QPalette::Window), theme.color(QPalette::Window));
    }

    // A focused note box and the swatch show a ring along their top and
    // bottom edges that stands out at least 3 to 1 from what it covers.
    void focusShowsAsARing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("swatchColor");
        QTest::newRow("note box") << "txtNote2_4" << 0;
        QTest::newRow("black swatch") << "Picture1" << 0;
        QTest::newRow("white swatch") << "Picture1" << 0xFFFFFF;
        QTest::newRow("grey swatch") << "Picture1" << 0x777777;
    }
    void focusShowsAsARing()
    {
        QFETCH(QString, name);
        QFETCH(int, swatchColor);
        m_form->swatch()->setBackColor(swatchColor);
        QWidget *widget = control(name);
        const QImage unfocused = widget->grab().toImage();
        focus(widget);
        const QImage focused = widget->grab().toImage();
        for (const int y : {3, widget->height() - 4}) { // the ring's rows lie within one pixel of these
            qreal strongest = 1;
            for (int dy = -1; dy <= 1; ++dy)
                strongest = qMax(strongest, contrast(unfocused.pixelColor(12, y + dy), focused.pixelColor(12, y + dy)));
            QVERIFY2(strongest >= 3, qPrintable(QString::number(strongest)));
        }
        focus(m_form->panel1()->monthSelector());
        QCOMPARE(widget->grab().toImage(), unfocused);
    }

    void framesAndLabelsHaveTheirCaptions_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("Frame1") << "Frame1" << "Month 1";
        QTest::newRow("Frame2") << "Frame2" << "Month 2";
        QTest::newRow("Frame3") << "Frame3" << "Text Color";
        QTest::newRow("Label1") << "Label1" << "Month:";
        QTest::newRow("Label2") << "Label2" << "Year:";
        QTest::newRow("Label3") << "Label3" << "Year:";
        QTest::newRow("Label4") << "Label4" << "Month:";
    }
    void framesAndLabelsHaveTheirCaptions()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QWidget *widget = control(name);
        if (auto *frame = qobject_cast<QGroupBox *>(widget))
            QCOMPARE(frame->title(), caption);
        else
            QCOMPARE(qobject_cast<QLabel *>(widget)->text(), caption);
    }

    void fontsAreArialBold_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("points");
        QTest::newRow("window") << "Form1" << 9.0;
        QTest::newRow("frame") << "Frame2" << 9.0;
        QTest::newRow("month list") << "Combo1" << 9.0;
        QTest::newRow("year box") << "Text2" << 9.0;
        QTest::newRow("note box") << "txtNote1_3" << 9.0;
        QTest::newRow("day caption") << "lblDay2_3" << 11.25;
    }
    void fontsAreArialBold()
    {
        QFETCH(QString, name);
        QFETCH(double, points);
        QWidget *widget = name == "Form1" ? m_form.get() : control(name);
        QCOMPARE(widget->font().family(), QString("Arial"));
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(widget->font().weight(), QFont::Bold);
    }

    void noteBoxesAreMultiLineWithoutScrollBars()
    {
        NoteBox *note = m_form->panel1()->noteBox(0);
        QCOMPARE(note->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(note->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(note->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(note->tabChangesFocus());
        QVERIFY(!m_form->panel1()->monthSelector()->isEditable());
    }

    // Where a caption reaches into its note box, the note box is on top.
    void noteBoxLiesOnItsCaption()
    {
        MonthPanel *panel = m_form->panel1();
        const QRect overlap = panel->dayCaption(8)->geometry().intersected(panel->noteBox(8)->geometry());
        QVERIFY(!overlap.isEmpty());
        QWidget *onTop = panel->childAt(overlap.center());
        QVERIFY(onTop == panel->noteBox(8) || panel->noteBox(8)->isAncestorOf(onTop));
    }

    void focusStartsInTheFirstMonthList()
    {
        QCOMPARE(QApplication::focusWidget(), control("Combo1"));
    }

    // Real Tab presses: panel 1 forwards, panel 2 backwards, hidden cells passed over.
    void tabWalksThroughTheShownInputs_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("days1");
        QTest::addColumn<int>("days2");
        QTest::newRow("August and September") << QDate(2021, 8, 15) << 31 << 30;
        QTest::newRow("February and March") << QDate(2021, 2, 10) << 28 << 31;
        QTest::newRow("January and February of a leap year") << QDate(2024, 1, 10) << 31 << 29;
    }
    void tabWalksThroughTheShownInputs()
    {
        QFETCH(QDate, today);
        QFETCH(int, days1);
        QFETCH(int, days2);
        endTest(); // no year stored by the start on another day
        beginTest(today);
        startPlanner();
        QStringList expected{"Combo1", "Text1"};
        for (int cell = 0; cell < days1; ++cell)
            expected << QStringLiteral("txtNote1_%1").arg(cell);
        for (int cell = days2 - 1; cell >= 0; --cell)
            expected << QStringLiteral("txtNote2_%1").arg(cell);
        expected << "Text2" << "Combo2" << "Picture1" << "Combo1";

        QCOMPARE(shownCells(m_form->panel2()), days2);
        QStringList walked{QApplication::focusWidget()->objectName()};
        for (int press = 1; press < expected.size(); ++press) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked, expected);
        QVERIFY(m_messages->shown().isEmpty());
    }

    void everyControlHasASpokenName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("spoken");
        const int Name = QAccessible::Name;
        QTest::newRow("year box") << "Text1" << Name << "Year, Month 1";
        QTest::newRow("month list's label") << "Label4" << Name << "Month:";
        QTest::newRow("panel") << "Frame2" << Name << "Month 2";
        QTest::newRow("note") << "txtNote1_5" << Name << "Friday, August 6, 2021";
        QTest::newRow("today's note") << "txtNote1_14" << Name << "Sunday, August 15, 2021, today";
        QTest::newRow("hidden note") << "txtNote2_30" << Name << "";
        QTest::newRow("swatch") << "Picture1" << Name << "Note text colour";
        QTest::newRow("swatch's use") << "Picture1" << int(QAccessible::Description) << "Opens the colour dialog";
    }
    void everyControlHasASpokenName()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(QString, spoken);
        QCOMPARE(QAccessible::queryAccessibleInterface(control(name))->text(QAccessible::Text(kind)), spoken);
    }
};

QTEST_MAIN(DesignTest)
#include "tst_design.moc"
