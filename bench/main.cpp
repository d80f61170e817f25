// SPDX-License-Identifier: GPL-3.0-or-later
// Measures the planner's store, refill and start-up against baselines taken in
// the same run and prints one table. Run by scripts/bench.sh:
//   planner_bench [--folder DIR] [--plot-data FILE] [--group NAME] [--notes N]
// DIR (default /var/tmp) must be on a real disk, not tmpfs: a temporary folder
// is made inside it and removed at the end. --group (writes, refresh or
// start-up) and --notes run a part only, for profiling.

#include "Groups.h"
#include "StoreFill.h"
#include "tests/support/TestSeams.h"

#include "app/PlannerApplication.h"
#include "settings/Settings.h"

#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <linux/magic.h>
#include <sys/vfs.h>

namespace {

struct Choice
{
    QString group; // empty for all
    QList<int> noteCounts{100, 10000, 100000};

    bool runs(const QString &name) const { return group.isEmpty() || group == name; }
};

bool isTmpfs(const QString &folder)
{
    struct statfs info{};
    return ::statfs(QFile::encodeName(folder).constData(), &info) == 0 && info.f_type == TMPFS_MAGIC;
}

void progress(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

Results measureAll(const QString &folder, const Choice &choice)
{
    Results results;
    if (choice.runs(QStringLiteral("writes")) || choice.runs(QStringLiteral("refresh"))) {
        Stores stores;
        for (const int notes : choice.noteCounts) {
            progress(QStringLiteral("filling a store with %1 notes").arg(notes));
            stores[notes] = QStringLiteral("%1/store-%2/Quillmere/settings.sqlite3").arg(folder).arg(notes);
            StoreFill::fill(stores[notes], notes);
        }
        if (choice.runs(QStringLiteral("writes"))) {
            progress(QStringLiteral("writes"));
            measureWrites(folder, stores, results);
        }
        if (choice.runs(QStringLiteral("refresh"))) {
            progress(QStringLiteral("refill"));
            measureRefresh(stores, results);
        }
        Settings::useStoreAt(QString());
    }
    if (choice.runs(QStringLiteral("start-up"))) {
        // The smallest and the largest store: what grows with the notes shows as their difference.
        QList<int> startupCounts{choice.noteCounts.first()};
        if (choice.noteCounts.size() > 1)
            startupCounts << choice.noteCounts.last();
        for (const int notes : startupCounts) {
            progress(QStringLiteral("start-up with %1 notes").arg(notes));
            measureStartup(QStringLiteral("%1/startup-%2").arg(folder).arg(notes), notes, results);
        }
    }
    return results;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PlannerApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("folder"), QStringLiteral("Where the temporary folder goes (not tmpfs)."),
                      QStringLiteral("dir"), QStringLiteral("/var/tmp")});
    parser.addOption({QStringLiteral("plot-data"), QStringLiteral("Write the write latencies to file."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("group"), QStringLiteral("Run one group only: writes, refresh or start-up."),
                      QStringLiteral("name")});
    parser.addOption({QStringLiteral("notes"), QStringLiteral("Measure at this number of notes only."),
                      QStringLiteral("count")});
    parser.process(application);
    Choice choice;
    choice.group = parser.value(QStringLiteral("group"));
    if (parser.isSet(QStringLiteral("notes")))
        choice.noteCounts = {parser.value(QStringLiteral("notes")).toInt()};

    const QString parent = parser.value(QStringLiteral("folder"));
    if (isTmpfs(parent)) {
        std::fprintf(stderr, "%s is tmpfs: durable writes there cost nothing. Pick a folder on disk.\n",
                     qPrintable(parent));
        return 2;
    }
    QTemporaryDir work(parent + QStringLiteral("/tavorin-bench-XXXXXX"));
    if (!work.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder in %s\n", qPrintable(parent));
        return 2;
    }
    // Nothing here may reach the user's own store, not even by mistake.
    qputenv("XDG_DATA_HOME", QFile::encodeName(work.filePath(QStringLiteral("xdg-data"))));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FixedToday::set(StoreFill::ShownDate);

    try {
        const Results results = measureAll(work.path(), choice);
        printTable(results);
        if (parser.isSet(QStringLiteral("plot-data")))
            writePlotData(results, parser.value(QStringLiteral("plot-data")));
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "benchmark failed: %s\n", failure.what());
        return 1;
    }
    return 0;
}
