// SPDX-License-Identifier: GPL-3.0-or-later
// A window of the same widgets as the calendar window, of about the same size,
// with no logic: what start-up costs Qt alone. It reports its first paint.

#include "FirstShown.h"

#include "calendar/WindowDesign.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

constexpr int Cells = WindowDesign::CellCount;
constexpr int Columns = 7;

// A frame with two labels, a combo box, a line edit, a label and a plain text edit per day cell.
void addPanel(QWidget *window, int left)
{
    auto *frame = new QGroupBox(QStringLiteral("Month"), window);
    frame->setGeometry(left, 8, 464, 505);
    new QLabel(QStringLiteral("Month:"), frame);
    new QComboBox(frame);
    new QLabel(QStringLiteral("Year:"), frame);
    new QLineEdit(frame);
    const QList<QWidget *> top = frame->findChildren<QWidget *>();
    for (int i = 0; i < top.size(); ++i)
        top[i]->setGeometry(16 + i * 112, 24, 104, 23);
    for (int cell = 0; cell < Cells; ++cell) {
        auto *caption = new QLabel(QStringLiteral("01 Mon"), frame);
        caption->setGeometry(8 + cell % Columns * 64, 56 + cell / Columns * 89, 62, 18);
    }
    for (int cell = 0; cell < Cells; ++cell) {
        auto *note = new QPlainTextEdit(frame);
        note->setGeometry(8 + cell % Columns * 64, 74 + cell / Columns * 89, 62, 69);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(952, 576);
    addPanel(&window, 8);
    addPanel(&window, 480);
    auto *strip = new QGroupBox(QStringLiteral("Text Color"), &window);
    strip->setGeometry(8, 518, 936, 51);
    (new QFrame(strip))->setGeometry(16, 18, 905, 23);
    // --stay: it stays open, for a measure of what an idle window costs.
    if (!QCoreApplication::arguments().contains(QStringLiteral("--stay")))
        FirstShown::reportFirstPaint(window);
    window.show();
    const int code = application.exec();
    FirstShown::reportPeakAtEnd();
    return code;
}
