// SPDX-License-Identifier: GPL-3.0-or-later
// The one table of a run: every figure, its baseline from the same run, and the ratio.

#include "Groups.h"

#include <QFile>
#include <QList>
#include <QLocale>
#include <QTextStream>

#include <cstdio>
#include <optional>
#include <stdexcept>

namespace {

constexpr int LargestNotes = 100000;
constexpr int SmallestNotes = 100;
constexpr double RefreshBudgetMs = 8.0;

struct Row
{
    QString figure;
    QString notes;
    QString median;
    QString p99;
    QString runs;
    QString baseline = QStringLiteral("—");
    QString ratio = QStringLiteral("—");
    QString ratio99 = QStringLiteral("—");
    QString target = QStringLiteral("—");
    QString met = QStringLiteral("—");
};

QString number(double value, int decimals)
{
    return QLocale::c().toString(value, 'f', decimals);
}

QString milliseconds(double value)
{
    return number(value, value < 1 ? 3 : value < 100 ? 2 : 0) + QStringLiteral(" ms");
}

QString mebibytes(double value)
{
    return number(value, 1) + QStringLiteral(" MiB");
}

QString times(double ratio)
{
    return number(ratio, ratio < 10 ? 2 : 0) + QStringLiteral("×");
}

QString metText(bool met)
{
    return met ? QStringLiteral("yes") : QStringLiteral("**no**");
}

Row figureRow(const QString &figure, int notes, const Samples &samples, QString (*unit)(double))
{
    return {figure, notes > 0 ? QLocale::c().toString(notes) : QStringLiteral("—"), unit(samples.median()),
            unit(samples.percentile(99)), QString::number(samples.count())};
}

// The ratio of one figure to another, and the target on that ratio if any.
void compare(Row &row, const QString &baseline, const Samples &over, const Samples &under,
             std::optional<double> atMost = {}, std::optional<double> atLeast = {})
{
    const double ratio = over.median() / under.median();
    row.baseline = baseline;
    row.ratio = times(ratio);
    row.ratio99 = times(over.percentile(99) / under.percentile(99));
    if (atMost) {
        row.target = QStringLiteral("≤ ") + times(*atMost);
        row.met = metText(ratio <= *atMost);
    }
    if (atLeast) {
        row.target = QStringLiteral("≥ ") + times(*atLeast);
        row.met = metText(ratio >= *atLeast);
    }
}

std::optional<double> onlyAtLargest(int notes, double target)
{
    return notes == LargestNotes ? std::optional<double>(target) : std::nullopt;
}

QList<Row> writeRows(const Results &results)
{
    QList<Row> rows;
    for (const auto &[notes, store] : results.storeKeystroke) {
        const Samples &floor = results.floorKeystroke.at(notes);
        const Samples &qsettings = results.qsettingsKeystroke.at(notes);
        Row storeRow = figureRow(QStringLiteral("Keystroke, store (2× SaveSetting)"), notes, store, milliseconds);
        compare(storeRow, QStringLiteral("floor"), store, floor, 1.5);
        rows << storeRow;
        if (notes != SmallestNotes && results.storeKeystroke.count(SmallestNotes)) {
            Row growth = figureRow(QStringLiteral("Keystroke, store, growth with notes"), notes, store, milliseconds);
            compare(growth, QStringLiteral("store at 100 notes"), store, results.storeKeystroke.at(SmallestNotes),
                    onlyAtLargest(notes, 1.5));
            rows << growth;
        }
        if (results.keystrokeDuringCopy.count(notes)) {
            const Samples &duringCopy = results.keystrokeDuringCopy.at(notes);
            Row copyRow = figureRow(QStringLiteral("Keystroke, store, while the day's check and copy run"), notes,
                                    duringCopy, milliseconds);
            compare(copyRow, QStringLiteral("store"), duringCopy, store);
            rows << copyRow;
        }
        rows << figureRow(QStringLiteral("Keystroke, floor (2× append + fdatasync)"), notes, floor, milliseconds);
        Row qsettingsRow =
            figureRow(QStringLiteral("Keystroke, QSettings INI (2× setValue + sync)"), notes, qsettings, milliseconds);
        compare(qsettingsRow, QStringLiteral("store"), qsettings, store, std::nullopt, onlyAtLargest(notes, 500));
        rows << qsettingsRow;
    }
    return rows;
}

QList<Row> refreshRows(const Results &results)
{
    QList<Row> rows;
    for (const auto &[notes, refresh] : results.refresh) {
        Row row = figureRow(QStringLiteral("RefreshCalendar, months swapped"), notes, refresh, milliseconds);
        if (notes != SmallestNotes && results.refresh.count(SmallestNotes))
            compare(row, QStringLiteral("RefreshCalendar at 100 notes"), refresh, results.refresh.at(SmallestNotes));
        if (notes == LargestNotes) {
            row.target = QStringLiteral("99th < 8 ms");
            row.met = metText(refresh.percentile(99) < RefreshBudgetMs);
        }
        rows << row;
        const Samples &cpu = results.refreshCpu.at(notes);
        Row cpuRow = figureRow(QStringLiteral("RefreshCalendar, processor time only"), notes, cpu, milliseconds);
        if (notes != SmallestNotes && results.refreshCpu.count(SmallestNotes))
            compare(cpuRow, QStringLiteral("the same at 100 notes"), cpu, results.refreshCpu.at(SmallestNotes));
        if (notes == LargestNotes) {
            cpuRow.target = row.target;
            cpuRow.met = metText(cpu.percentile(99) < RefreshBudgetMs);
        }
        rows << cpuRow;
    }
    return rows;
}

// The start-up goals hold on every start, the first of a day included; the
// memory goal also over the whole run, which on the first start of a day
// includes the check of the store after the first paint.
QList<Row> startupRows(const Results &results)
{
    constexpr double StartupGoal = 1.3;
    constexpr double MemoryGoal = 1.1;
    QList<Row> rows;
    for (const auto &[notes, planner] : results.plannerStartup) {
        const auto goalRow = [notes = notes](const QString &figure, const Samples &samples, const Samples &bare,
                                             QString (*unit)(double), double goal) {
            Row row = figureRow(figure, notes, samples, unit);
            compare(row, QStringLiteral("bare window"), samples, bare, goal);
            return row;
        };
        const Samples &bare = results.bareStartup.at(notes);
        const Samples &bareMemory = results.bareMemory.at(notes);
        const Samples &bareMemoryAtEnd = results.bareMemoryAtEnd.at(notes);
        rows << goalRow(QStringLiteral("Start-up to first paint, planner"), planner, bare, milliseconds, StartupGoal)
             << goalRow(QStringLiteral("Start-up to first paint, planner, first start of a day"),
                        results.plannerFirstOfDay.at(notes), bare, milliseconds, StartupGoal)
             << figureRow(QStringLiteral("Start-up to first paint, bare window"), 0, bare, milliseconds)
             << goalRow(QStringLiteral("Peak resident memory at the first paint, planner"),
                        results.plannerMemory.at(notes), bareMemory, mebibytes, MemoryGoal)
             << goalRow(QStringLiteral("Peak resident memory at the first paint, planner, first start of a day"),
                        results.plannerFirstOfDayMemory.at(notes), bareMemory, mebibytes, MemoryGoal)
             << figureRow(QStringLiteral("Peak resident memory at the first paint, bare window"), 0, bareMemory,
                          mebibytes)
             << goalRow(QStringLiteral("Peak resident memory over the run, planner"),
                        results.plannerMemoryAtEnd.at(notes), bareMemoryAtEnd, mebibytes, MemoryGoal)
             << goalRow(QStringLiteral("Peak resident memory over the run, planner, first start of a day"),
                        results.plannerFirstOfDayMemoryAtEnd.at(notes), bareMemoryAtEnd, mebibytes, MemoryGoal)
             << figureRow(QStringLiteral("Peak resident memory over the run, bare window"), 0, bareMemoryAtEnd,
                          mebibytes);
    }
    return rows;
}

void printRow(const QStringList &cells)
{
    std::printf("| %s |\n", qPrintable(cells.join(QStringLiteral(" | "))));
}

} // namespace

void printTable(const Results &results)
{
    printRow({QStringLiteral("Figure"), QStringLiteral("Stored notes"), QStringLiteral("Median"),
              QStringLiteral("99th pct."), QStringLiteral("Runs"), QStringLiteral("Baseline (same run)"),
              QStringLiteral("Ratio, median"), QStringLiteral("Ratio, 99th"), QStringLiteral("Target"),
              QStringLiteral("Met")});
    printRow(QStringList(10, QStringLiteral("---")));
    for (const Row &row : writeRows(results) + refreshRows(results) + startupRows(results)) {
        printRow({row.figure, row.notes, row.median, row.p99, row.runs, row.baseline, row.ratio, row.ratio99,
                  row.target, row.met});
    }
}

void writePlotData(const Results &results, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        throw std::runtime_error("cannot write the plot data");
    QTextStream out(&file);
    out << "# notes store_median store_p99 floor_median floor_p99 qsettings_median qsettings_p99 (ms)\n";
    for (const auto &[notes, store] : results.storeKeystroke) {
        const Samples &floor = results.floorKeystroke.at(notes);
        const Samples &qsettings = results.qsettingsKeystroke.at(notes);
        out << notes << ' ' << store.median() << ' ' << store.percentile(99) << ' ' << floor.median() << ' '
            << floor.percentile(99) << ' ' << qsettings.median() << ' ' << qsettings.percentile(99) << '\n';
    }
}
