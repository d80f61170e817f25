// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncWatch.h"

#include "cli/Console.h"
#include "platform/Failure.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreUseLock.h"
#include "settings/StoreWatch.h"
#include "sync/Collection.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The signal handler only writes a byte here; the event loop reads it.
int signalPipe[2] = {-1, -1};

void onStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

} // namespace

SyncWatch::SyncWatch(const QString &storePath, Pass pass, Console &console)
    : SyncWatch(storePath, std::move(pass), console, Timing{})
{
}

SyncWatch::SyncWatch(const QString &storePath, Pass pass, Console &console, Timing timing)
    : m_storePath(storePath),
      m_pass(std::move(pass)),
      m_console(console),
      m_timing(timing),
      m_store(std::make_unique<SettingsStore>(storePath)),
      m_context(std::make_unique<QObject>())
{
    m_store->setWholeFileCheck(false); // each pass's own store checks it
    m_watch = new StoreWatch([this]() -> SettingsStore & { return *m_store; }, m_context.get());
    QObject::connect(m_watch, &StoreWatch::changed, m_context.get(), [this] { storeChanged(); });
    for (QTimer *timer : {&m_settle, &m_longestWait, &m_retry})
        timer->setSingleShot(true);
    m_settle.setInterval(m_timing.settleMs);
    m_longestWait.setInterval(m_timing.longestWaitMs);
    m_serverLook.setInterval(m_timing.openLookMs);
    QObject::connect(&m_settle, &QTimer::timeout, m_context.get(), [this] { passSoon(); });
    QObject::connect(&m_longestWait, &QTimer::timeout, m_context.get(), [this] { passSoon(); });
    QObject::connect(&m_serverLook, &QTimer::timeout, m_context.get(), [this] { lookAtServer(); });
    QObject::connect(&m_retry, &QTimer::timeout, m_context.get(), [this] { runPass(); });

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) == 0) {
        ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
        m_signals = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, m_context.get());
        QObject::connect(m_signals, &QSocketNotifier::activated, m_context.get(), [this] { stopRequested(); });
        struct sigaction action{};
        action.sa_handler = onStopSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGINT, &action, nullptr);
    }
}

SyncWatch::~SyncWatch()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    m_context.reset(); // the notifier before its socket
    for (int &fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

int SyncWatch::run()
{
    // The watch needs the store open to count the others' writes from now on.
    try {
        m_store->read(Settings::Application, Settings::Section, Settings::NoteColorKey);
    } catch (const Failure &failure) {
        m_console.message(failure.description());
    }
    m_watch->start();
    m_serverLook.start();
    m_sinceLastPass.start();
    QTimer::singleShot(0, m_context.get(), [this] { runPass(); });
    return m_loop.exec();
}

// The first change starts the longest wait; each one restarts the quiet one.
void SyncWatch::storeChanged()
{
    if (!m_longestWait.isActive())
        m_longestWait.start();
    m_settle.start();
}

void SyncWatch::passSoon()
{
    if (m_passing) {
        m_again = true; // what changed during the pass may not be in it
        return;
    }
    if (m_retry.isActive())
        return; // the server failed: the retry comes first
    runPass();
}

void SyncWatch::runPass()
{
    m_settle.stop();
    m_longestWait.stop();
    m_retry.stop();
    m_passing = true;
    m_again = false;
    try {
        m_pass();
        if (m_failing)
            m_console.message(tr("Sync works again."));
        m_failing = false;
        m_retryMs = 0;
    } catch (const SyncFailure &failure) {
        failed(failure.description);
    } catch (const Failure &failure) {
        failed(failure.description());
    }
    m_passing = false;
    m_sinceLastPass.start();
    if (m_stopping) {
        m_loop.exit(0);
        return;
    }
    if (m_again && !m_failing)
        m_settle.start();
}

// Said once; the tries that follow, less and less often, say nothing until one works.
void SyncWatch::failed(const QString &description)
{
    m_retryMs = m_retryMs == 0 ? m_timing.firstRetryMs : qMin(m_retryMs * 2, m_timing.lastRetryMs);
    if (!m_failing) {
        m_console.message(description);
        m_console.message(tr("Trying again from time to time, at least every %1 seconds; no more messages until it works.")
                              .arg(m_timing.lastRetryMs / 1000));
    }
    m_failing = true;
    m_retry.start(m_retryMs);
}

// A pass under way ends first: stopping in it would leave what it agreed
// with the server half recorded.
void SyncWatch::stopRequested()
{
    char bytes[16];
    [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], bytes, sizeof bytes);
    m_stopping = true;
    if (!m_passing)
        m_loop.exit(0);
}

// Every few seconds: a pass when a planner is open, else when the last one
// is a minute ago.
void SyncWatch::lookAtServer()
{
    if (m_sinceLastPass.hasExpired(m_timing.serverLookMs) || StoreUseLock::plannerOpen(m_storePath))
        passSoon();
}
