#include "StoreFill.h"

#include "platform/DateNames.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <memory>
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

struct Closer
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
struct Finalizer
{
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};

void check(sqlite3 *db, int code, int expected)
{
    if (code != expected)
        throw std::runtime_error(std::string("filling the store: ") + sqlite3_errmsg(db));
}

void bind(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
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
        entry(Settings::noteTextKey(monthText, yearText, cell), noteText(note, cell));
        entry(Settings::noteColorKey(monthText, yearText, cell), QString::number(qint64(note) * 40503 % 0x1000000));
    }
}

void fill(const QString &path, int notes)
{
    SettingsStore(path).read(Settings::Application, Settings::Section, Settings::NoteColorKey);

    sqlite3 *raw = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, Closer> db(raw);
    check(db.get(), opened, SQLITE_OK);
    check(db.get(), sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK);

    sqlite3_stmt *rawInsert = nullptr;
    check(db.get(),
          sqlite3_prepare_v2(db.get(), "INSERT INTO settings(application, section, key, value) VALUES (?1, ?2, ?3, ?4)",
                             -1, &rawInsert, nullptr),
          SQLITE_OK);
    const std::unique_ptr<sqlite3_stmt, Finalizer> insert(rawInsert);
    bind(insert.get(), 1, Settings::Application);
    bind(insert.get(), 2, Settings::Section);
    forEachEntry(notes, [&](const QString &key, const QString &value) {
        bind(insert.get(), 3, key);
        bind(insert.get(), 4, value);
        check(db.get(), sqlite3_step(insert.get()), SQLITE_DONE);
        sqlite3_reset(insert.get());
    });
    check(db.get(), sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
}

} // namespace StoreFill
