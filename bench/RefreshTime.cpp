// SPDX-License-Identifier: GPL-3.0-or-later
// A refill of both panels on a shown window after a change of month: 140 store
// reads and 70 note boxes that each get a new text.

#include "Groups.h"
#include "StoreFill.h"

#include "calendar/Controls.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "settings/Settings.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <memory>
#include <stdexcept>

namespace {

constexpr int Rounds = 10;
constexpr int RefreshesPerRound = 30;

void waitUntilExposed(Form1 &window)
{
    QElapsedTimer waited;
    waited.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
}

// The figure means something only if the panels show the notes of the fill.
void checkShowsNotes(const Form1 &window)
{
    for (const MonthPanel *panel : {window.panel1(), window.panel2()}) {
        if (panel->noteBox(StoreFill::EditedCell)->text().isEmpty())
            throw std::runtime_error("the panels show no stored notes: the measured refill would read nothing");
    }
}

// A window started as the program starts it, on the store in use.
std::unique_ptr<Form1> shownWindow()
{
    auto window = std::make_unique<Form1>();
    window->Form_Load();
    window->show();
    waitUntilExposed(*window);
    checkShowsNotes(*window);
    return window;
}

// The panels swap their months before each measured refill, as when the user
// picks another month: every note box then gets a text it did not hold.
void swapMonths(Form1 &window)
{
    QComboBox *first = window.panel1()->monthSelector();
    QComboBox *second = window.panel2()->monthSelector();
    const QSignalBlocker blockFirst(first);
    const QSignalBlocker blockSecond(second);
    const int firstMonth = first->currentIndex();
    first->setCurrentIndex(second->currentIndex());
    second->setCurrentIndex(firstMonth);
}

void measureOneRefresh(Form1 &window, int notes, Results &results)
{
    swapMonths(window);
    const double cpuBefore = threadCpuMilliseconds();
    const double ms = millisecondsOf([&] { window.RefreshCalendar(); });
    const double cpu = threadCpuMilliseconds() - cpuBefore;
    QCoreApplication::processEvents(); // the repaint the user would see, outside the measurement
    results.refresh[notes].add(ms);
    results.refreshCpu[notes].add(cpu);
}

} // namespace

void measureRefresh(const Stores &stores, Results &results)
{
    std::map<int, std::unique_ptr<Form1>> windows;
    for (const auto &[notes, path] : stores) {
        Settings::useStoreAt(path);
        windows[notes] = shownWindow();
    }
    for (int round = 0; round < Rounds; ++round) {
        for (const auto &[notes, path] : stores) {
            Settings::useStoreAt(path);
            Form1 &window = *windows.at(notes);
            window.RefreshCalendar(); // opens the store again: not counted
            QCoreApplication::processEvents();
            for (int i = 0; i < RefreshesPerRound; ++i)
                measureOneRefresh(window, notes, results);
        }
    }
}
