// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <time.h>

// Marks the moment a window is first on screen: once its first paint has been
// handled, prints CLOCK_MONOTONIC in nanoseconds (the same clock in every
// process) and the peak resident memory so far in KiB on stdout, and ends the
// event loop. The peak is read from /proc: getrusage would count the memory of
// the parent that spawned the process, which Linux carries across exec.
namespace FirstShown {

inline long long peakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

class Marker : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, &Marker::report);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static void report()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, peakKiB());
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_painted = false;
};

inline void reportFirstPaint(QWidget &window)
{
    window.installEventFilter(new Marker(&window));
}

// Prints the peak resident memory of the whole run in KiB, once what the
// program started on other threads (the planner's check of its store) is done.
inline void reportPeakAtEnd()
{
    QThreadPool::globalInstance()->waitForDone();
    std::printf("%lld\n", peakKiB());
    std::fflush(stdout);
}

} // namespace FirstShown
