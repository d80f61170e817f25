// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class Console;
class QSocketNotifier;
class SettingsStore;
class StoreWatch;

// "sync --watch": sync passes for as long as it runs. A pass follows soon
// after the store changes (the changes of a burst of typing make one pass),
// and one looks at the server every minute, every few seconds while a
// planner is open on the store, so that what another machine wrote shows
// there soon. A failing server is tried again
// less and less often, with one message when it starts failing and one when
// it works again. SIGTERM or SIGINT ends it after the pass under way, so
// that nothing is lost or half done.
class SyncWatch
{
    Q_DECLARE_TR_FUNCTIONS(SyncCommandLine)

public:
    struct Timing
    {
        int settleMs = 500;       // quiet after a change before the pass starts
        int longestWaitMs = 1500; // ... but no longer than this after the first change
        int serverLookMs = 60000; // a pass at least this often
        int openLookMs = 4000;    // ... and this often while a planner shows the notes
        int firstRetryMs = 5000;  // after a failure; doubled up to lastRetryMs
        int lastRetryMs = 300000;
    };

    // One pass, saying what it changed. A SyncFailure or Failure it throws is a failed pass.
    using Pass = std::function<void()>;

    SyncWatch(const QString &storePath, Pass pass, Console &console, Timing timing);
    SyncWatch(const QString &storePath, Pass pass, Console &console);
    ~SyncWatch();

    // Runs until a signal to stop; the exit code.
    int run();

private:
    void storeChanged();
    void passSoon();
    void runPass();
    void failed(const QString &description);
    void stopRequested();
    void lookAtServer();

    QString m_storePath;
    Pass m_pass;
    Console &m_console;
    Timing m_timing;
    std::unique_ptr<SettingsStore> m_store;
    StoreWatch *m_watch = nullptr;
    QTimer m_settle;
    QTimer m_longestWait;
    QTimer m_serverLook;
    QTimer m_retry;
    QElapsedTimer m_sinceLastPass;
    int m_retryMs = 0;
    bool m_failing = false;
    bool m_passing = false;
    bool m_again = false;
    bool m_stopping = false;
    QSocketNotifier *m_signals = nullptr;
    QEventLoop m_loop;
    std::unique_ptr<QObject> m_context;
};
