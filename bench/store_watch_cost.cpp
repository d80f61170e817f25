// SPDX-License-Identifier: GPL-3.0-or-later
// What it costs a program to notice that another one changed the store, two
// ways: a look at SQLite's data_version every 400 ms, and StoreWatch, what
// the window and "sync --watch" use: inotify on the store's files, then one
// look at data_version. Prints the CPU time of one look, and the CPU seconds that
// each way costs over SECONDS of idling beside an event loop doing nothing,
// scaled to an hour.
//   store_watch_cost [SECONDS]   (default 60 for each of the three)

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreWatch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <sys/resource.h>

namespace {

constexpr int PollMs = 400;

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU seconds spent while the event loop runs for seconds.
double idle(int seconds)
{
    const double before = cpuSeconds();
    QTimer::singleShot(seconds * 1000, QCoreApplication::instance(), &QCoreApplication::quit);
    QCoreApplication::exec();
    return cpuSeconds() - before;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/settings.sqlite3");
    SettingsStore store(path);
    store.save(Settings::Application, Settings::Section, QStringLiteral("Text1"), QStringLiteral("2021"));

    constexpr int Looks = 20000;
    const double lookStart = cpuSeconds();
    for (int i = 0; i < Looks; ++i)
        store.changedElsewhere();
    const double perLook = (cpuSeconds() - lookStart) / Looks;

    const double bare = idle(seconds);

    QTimer poll;
    poll.setInterval(PollMs);
    QObject::connect(&poll, &QTimer::timeout, [&store] { store.changedElsewhere(); });
    poll.start();
    const double polled = idle(seconds);
    poll.stop();

    StoreWatch watch([&store]() -> SettingsStore & { return store; });
    watch.start();
    const double watched = idle(seconds);

    const double hour = 3600.0 / seconds;
    std::printf("one look at data_version: %.1f us CPU; every %d ms: %.3f CPU s per hour\n", perLook * 1e6,
                PollMs, perLook * 3600000.0 / PollMs);
    std::printf("idle over %d s           CPU s    per hour   over the empty loop, per hour\n", seconds);
    std::printf("  empty event loop     %7.3f    %7.3f\n", bare, bare * hour);
    std::printf("  data_version looks   %7.3f    %7.3f    %7.3f\n", polled, polled * hour, (polled - bare) * hour);
    std::printf("  inotify (StoreWatch) %7.3f    %7.3f    %7.3f\n", watched, watched * hour, (watched - bare) * hour);
    return 0;
}
