// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the planner against a window of the same widgets with no logic:
// time from spawning the process to its first paint, and peak resident memory.

#include "Groups.h"
#include "StoreFill.h"

#include "settings/SafetyCopies.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

constexpr int WarmUp = 2;
constexpr int Runs = 30;

struct ChildRun
{
    double msToFirstPaint;
    double peakMiB;      // at the first paint
    double peakMiBAtEnd; // over the whole run
};

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// A private store, a headless screen, English names; stderr goes to a file.
QByteArrayList childEnvironment(const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/xdg-data"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/xdg-config"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("en_US.UTF-8"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    QByteArrayList entries;
    for (const QString &entry : environment.toStringList())
        entries << entry.toLocal8Bit();
    return entries;
}

std::vector<char *> pointersTo(QByteArrayList &texts)
{
    std::vector<char *> pointers;
    for (QByteArray &text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

QByteArray readAll(int fd)
{
    QByteArray output;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        output.append(buffer, qMax<ssize_t>(n, 0));
    return output;
}

// Spawns program, which prints CLOCK_MONOTONIC and its peak memory at its
// first paint, quits, and prints its peak memory of the whole run.
ChildRun runChild(const QString &program, QByteArrayList environment, const QString &errorLog)
{
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    const QByteArray log = QFile::encodeName(errorLog);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    QByteArrayList arguments{QFile::encodeName(program)};
    const std::vector<char *> argv = pointersTo(arguments);
    const std::vector<char *> envp = pointersTo(environment);

    pid_t pid = 0;
    const qint64 spawned = monotonicNs();
    const int code = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (code != 0) {
        ::close(out[0]);
        throw std::runtime_error("cannot start " + program.toStdString());
    }
    const QByteArray output = readAll(out[0]);
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);

    const QList<QByteArray> fields = output.simplified().split(' ');
    bool ok = fields.size() == 3 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const qint64 painted = ok ? fields[0].toLongLong(&ok) : 0;
    const qint64 peakKiB = ok ? fields[1].toLongLong(&ok) : 0;
    const qint64 peakKiBAtEnd = ok ? fields[2].toLongLong(&ok) : 0;
    if (!ok || peakKiB <= 0 || peakKiBAtEnd <= 0)
        throw std::runtime_error(program.toStdString() + " reported no first paint; see " + errorLog.toStdString());
    return {double(painted - spawned) / 1e6, double(peakKiB) / 1024.0, double(peakKiBAtEnd) / 1024.0};
}

} // namespace

void measureStartup(const QString &folder, int notes, Results &results)
{
    const QString store = folder + QStringLiteral("/xdg-data/Quillmere/settings.sqlite3");
    StoreFill::fill(store, notes);
    const QString binaries = QCoreApplication::applicationDirPath();
    const QString planner = binaries + QStringLiteral("/planner_startup");
    const QString bare = binaries + QStringLiteral("/bare_window");
    const QByteArrayList environment = childEnvironment(folder);
    const QString errorLog = folder + QStringLiteral("/child-stderr.log");

    // Each round starts the planner as on any start of a day (the day's copy
    // exists), the bare window, and the planner as on the first start of a
    // day (no copy yet: it checks the whole store and makes the copy after
    // its first paint), in an order that turns from round to round.
    enum Start { Planner, Bare, FirstOfDay };
    for (int i = 0; i < WarmUp + Runs; ++i) {
        for (int n = 0; n < 3; ++n) {
            const Start start = Start((i + n) % 3);
            if (start == FirstOfDay) {
                for (const QString &copy : SafetyCopies::existingCopies(store))
                    QFile::remove(copy);
            }
            const ChildRun run = runChild(start == Bare ? bare : planner, environment, errorLog);
            if (i < WarmUp)
                continue;
            Samples &time = start == Planner ? results.plannerStartup[notes]
                            : start == Bare  ? results.bareStartup[notes]
                                             : results.plannerFirstOfDay[notes];
            Samples &memory = start == Planner ? results.plannerMemory[notes]
                              : start == Bare  ? results.bareMemory[notes]
                                               : results.plannerFirstOfDayMemory[notes];
            Samples &memoryAtEnd = start == Planner ? results.plannerMemoryAtEnd[notes]
                                   : start == Bare  ? results.bareMemoryAtEnd[notes]
                                                    : results.plannerFirstOfDayMemoryAtEnd[notes];
            time.add(run.msToFirstPaint);
            memory.add(run.peakMiB);
            memoryAtEnd.add(run.peakMiBAtEnd);
        }
    }
}
