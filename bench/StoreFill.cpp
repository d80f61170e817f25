// SPDX-License-Identifier: GPL-3.0-or-later
#include "StoreFill.h"

#include "notes/NoteKey.h"
#include "platform/DateNames.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"

#include <QFile>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace StoreFill {

namespace {

constexpr int FirstYear = 1800;
constexpr int MonthSlots = 400 * 12;
constexpr int Stride = 1237; // shares no factor with MonthSlots: every slot once, scattered
constexpr int DaysPerMonth = 31;

struct Month
{
    int year;
    int month;
};

std::vector<Month> monthsInFillOrder()
{
    const QDate next = ShownDate.addMonths(1);
    std::vector<Month> months{{ShownDate.year(), ShownDate.month()}, {next.year(), next.month()}};
    for (int i = 0; i < MonthSlots; ++i) {
        const int slot = int(qint64(i) * Stride % MonthSlots);
        const Month month{FirstYear + slot / 12, slot % 12 + 1};
        const bool shown = (month.year == ShownDate.year() && month.month == ShownDate.month())
                           || (month.year == next.year() && month.month == next.month());
        if (!shown)
            months.push_back(month);
    }
    return months;
}

// About fifty characters on two lines, as a note box hands them over: roughly
// what the box shows without hiding any of it.
QString noteText(int note, int cell)
{
    return QStringLiteral("Note %1: call Anna at %2:30\nbring the blue folder").arg(note).arg(cell % 12 + 8);
}

} // namespace

void forEachEntry(int notes, const std::function<void(const QString &, const QString &)> &entry)
{
    const std::vector<Month> months = monthsInFillOrder();
    if (notes > int(months.size()) * DaysPerMonth)
        throw std::runtime_error("more notes than the benchmark's months can hold");
    for (int note = 0; note < notes; ++note) {
        const Month &month = months[note / DaysPerMonth];
        const int cell = note % DaysPerMonth;
        const QString monthText = DateNames::fullMonthName(month.month);
        const QString yearText = QString::number(month.year);
        entry(NoteKey::text(monthText, yearText, cell), noteText(note, cell));
        entry(NoteKey::color(monthText, yearText, cell), QString::number(qint64(note) * 40503 % 0x1000000));
    }
}

void fill(const QString &path, int notes)
{
    SettingsStore(path).read(Settings::Application, Settings::Section, Settings::NoteColorKey);

    const auto throwFailure = [](const QString &, const QString &reason, int) {
        throw std::runtime_error("filling the store: " + reason.toStdString());
    };
    Sqlite::Database db(QFile::encodeName(path), SQLITE_OPEN_READWRITE, throwFailure, QString());
    db.execute("BEGIN", QString());
    Sqlite::Statement insert(db, "INSERT INTO settings(application, section, key, value) VALUES (?1, ?2, ?3, ?4)",
                             QString());
    insert.bind(1, Settings::Application);
    insert.bind(2, Settings::Section);
    forEachEntry(notes, [&](const QString &key, const QString &value) {
        insert.bind(3, key);
        insert.bind(4, value);
        insert.run(QString());
        insert.reset();
    });
    db.execute("COMMIT", QString());
}

} // namespace StoreFill
