// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"

#include "calendar/WindowDesign.h"
#include "notes/NoteKey.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QString Planner = QStringLiteral(PLANNER_PATH);
const QString Notes = QStringLiteral(NOTES_PATH);

QString tool(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

mode_t modeOf(const QString &path)
{
    struct stat info{};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? (info.st_mode & 07777) : mode_t(-1);
}


// Runs a short helper program to its end (bounded); its standard output, trimmed.
QString runTool(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment,
                bool *ok = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(20000);
    if (!finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    if (ok)
        *ok = finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// A private X server (Xvfb) that tells us its display number; ended with the object.
class XServer
{
public:
    bool start()
    {
        m_process.start(tool("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                       QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-dpi"),
                                       QStringLiteral("96"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                       // else the server resets when its last client leaves, and a
                                       // planner connecting meanwhile cannot open the display
                                       QStringLiteral("-noreset")});
        QDeadlineTimer deadline(20000);
        QByteArray output;
        while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
            m_process.waitForReadyRead(100);
            output += m_process.readAllStandardOutput();
            if (output.endsWith('\n')) {
                m_display = QLatin1Char(':') + QString::fromLatin1(output.trimmed());
                return answers(deadline);
            }
        }
        return false;
    }
    ~XServer()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    const QString &display() const { return m_display; }

private:
    // Bounded: true once a client can talk to the server.
    bool answers(const QDeadlineTimer &deadline)
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        while (!deadline.hasExpired()) {
            bool ok = false;
            runTool(tool("xdotool"), {QStringLiteral("getdisplaygeometry")}, environment, &ok);
            if (ok)
                return true;
            QTest::qWait(50);
        }
        return false;
    }

    QProcess m_process;
    QString m_display;
};

// Ends a process that this test started: TERM, then KILL if it does not go.
void endProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}


// The real planner on a private X server, driven with xdotool as a user
// drives it: clicks, keys, the clipboard, and Return on every message box.
class ShownPlanner
{
public:
    ~ShownPlanner() { endProcess(m_planner); }

    // Starts the X server and the planner; false when either does not come up.
    bool start(QProcessEnvironment environment, const std::function<void()> &childSetup = {})
    {
        if (!m_x.start())
            return false;
        environment.insert(QStringLiteral("DISPLAY"), m_x.display());
        m_xEnvironment.insert(QStringLiteral("DISPLAY"), m_x.display());
        m_xEnvironment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        m_planner.setProcessEnvironment(environment);
        m_planner.setProcessChannelMode(QProcess::MergedChannels);
        if (childSetup)
            m_planner.setChildProcessModifier(childSetup);
        m_planner.start(Planner, {});
        return m_planner.waitForStarted(10000);
    }

    QProcess &process() { return m_planner; }
    bool isRunning() const { return m_planner.state() == QProcess::Running; }
    int boxesClosed() const { return m_boxesClosed; }
    const QProcessEnvironment &xEnvironment() const { return m_xEnvironment; }

    QString xdotool(const QStringList &arguments) { return runTool(tool("xdotool"), arguments, m_xEnvironment); }

    // The planner's visible window of exactly one of these titles, if any.
    QString visibleWindow(const QStringList &titles)
    {
        const QStringList ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                         QString::number(m_planner.processId()), QStringLiteral("--name"),
                                         QStringLiteral(".")})
                                    .split(u'\n', Qt::SkipEmptyParts);
        for (const QString &id : ids) {
            if (titles.contains(xdotool({QStringLiteral("getwindowname"), id})))
                return id;
        }
        return QString();
    }

    // Closes every message box that shows (the start-up's error report and
    // the handler of other failures) with Return as a user would; true once
    // done() holds with no box open.
    bool closeBoxesUntil(const std::function<bool()> &done)
    {
        const QStringList boxTitles{QStringLiteral("Application Error"), QStringLiteral("Tavorin")};
        QDeadlineTimer deadline(60000);
        while (!deadline.hasExpired() && isRunning()) {
            const QString box = visibleWindow(boxTitles);
            if (box.isEmpty()) {
                if (done())
                    return true;
                QTest::qWait(50);
                continue;
            }
            xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), box});
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
            QDeadlineTimer gone(10000);
            while (!gone.hasExpired() && visibleWindow(boxTitles) == box)
                QTest::qWait(50);
            ++m_boxesClosed;
        }
        return false;
    }

    // Waits for the window, closing the boxes shown before it; false when it does not show.
    bool waitForWindow()
    {
        if (!closeBoxesUntil([this] { return !(m_window = visibleWindow({QStringLiteral("Tavorin Planner")})).isEmpty(); }))
            return false;
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window});
        return true;
    }

    void click(const QPoint &at)
    {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), m_window, QString::number(at.x()),
                 QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    }
    void type(const QString &text)
    {
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
    }
    void key(const QString &keys) { xdotool({QStringLiteral("key"), keys}); }

    // The clipboard's text, or a null string when it cannot be read.
    QString clipboard()
    {
        bool ok = false;
        const QString text = runTool(tool("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                     QStringLiteral("clipboard")}, m_xEnvironment, &ok);
        return ok ? text : QString();
    }

private:
    XServer m_x;
    QProcess m_planner;
    QProcessEnvironment m_xEnvironment;
    QString m_window;
    int m_boxesClosed = 0;
};

// Skips the test where the tools that drive a window are missing.
#define SKIP_WITHOUT_X_TOOLS()                                                                                      \
    for (const char *name : {"Xvfb", "xdotool", "xclip"}) {                                                        \
        if (tool(name).isEmpty())                                                                                   \
            QSKIP(qPrintable(QStringLiteral("%1 is missing (scripts/install-deps.sh installs it)").arg(QLatin1String(name)))); \
    }

QByteArray storeWithNotes()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.sqlite3"));
    {
        SettingsStore store(path);
        for (int cell = 0; cell < 31; ++cell)
            store.save(Settings::Application, Settings::Section, NoteKey::text("August", "2021", cell),
                       QStringLiteral("A note for day %1. ").arg(cell + 1).repeated(20));
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}


// Centre of a control, in the window's client area: frame position plus the
// control's position inside the frame.
QPoint centreOf(const WindowDesign::Twips &frame, const WindowDesign::Twips &control)
{
    return WindowDesign::toPixels(frame).topLeft() + WindowDesign::toPixels(control).center();
}

} // namespace

// The real program, started as a user starts it: it survives a damaged store,
// keeps its store private whatever the umask, and reads no file but its own.
class RealProgramTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;

    QString storeFolder() const { return m_home.filePath(QStringLiteral("data/Quillmere")); }
    QString storePath() const { return storeFolder() + QStringLiteral("/settings.sqlite3"); }

    QProcessEnvironment plannerEnvironment(const QString &platform) const
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("HOME"), m_home.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        environment.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
        // A fixed date, where libfaketime is installed; nothing here depends on it.
        const QStringList fakeTime = QDir(QStringLiteral("/usr/lib")).entryList({QStringLiteral("*")}, QDir::Dirs);
        for (const QString &folder : fakeTime) {
            const QString library = QStringLiteral("/usr/lib/%1/faketime/libfaketimeMT.so.1").arg(folder);
            if (QFile::exists(library)) {
                environment.insert(QStringLiteral("LD_PRELOAD"), library);
                environment.insert(QStringLiteral("FAKETIME"), QStringLiteral("@2021-08-15 10:00:00"));
                environment.insert(QStringLiteral("DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
                break;
            }
        }
        return environment;
    }

    // Bounded: true once the planner has stored the year of panel 2 (the last
    // write of its start-up).
    bool waitUntilStarted(QProcess &planner)
    {
        if (!planner.waitForStarted(10000))
            return false;
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired() && planner.state() == QProcess::Running) {
            if (QFile::exists(storePath()) && FaultKit::storedValue(storePath(), Settings::YearOfPanel2Key))
                return true;
            QTest::qWait(50);
        }
        return false;
    }

private slots:
    void init()
    {
        QDir(m_home.path()).removeRecursively();
        for (const char *folder : {"home", "data", "config", "cache", "runtime"})
            QVERIFY(QDir().mkpath(m_home.filePath(QString::fromLatin1(folder))));
        QFile::setPermissions(m_home.filePath(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void damagedStoreIsReportedAndLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("content");
        const QByteArray store = storeWithNotes();
        QTest::newRow("random bytes") << FaultKit::randomBytes(20000, 4711);
        QTest::newRow("store cut short") << store.left(store.size() / 2 + 100);
        QTest::newRow("database without the table") << FaultKit::foreignDatabase("CREATE TABLE recipes(name, steps)");
        QTest::newRow("table with a wrong column")
            << FaultKit::foreignDatabase("CREATE TABLE settings(application TEXT, section TEXT, name TEXT, value TEXT)");
    }
    void damagedStoreIsReportedAndLeftAlone()
    {
        QFETCH(QByteArray, content);
        SKIP_WITHOUT_X_TOOLS();
        QVERIFY(QDir().mkpath(storeFolder()));
        {
            QFile file(storePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        const QByteArray digest = FaultKit::digestOf(storePath());
        const ino_t inode = FaultKit::inodeOf(storePath());
        const QStringList names = FaultKit::namesIn(storeFolder());

        ShownPlanner planner;
        QVERIFY2(planner.start(plannerEnvironment(QStringLiteral("xcb"))), "Xvfb or the planner did not start");
        QVERIFY2(planner.waitForWindow(),
                 qPrintable(QStringLiteral("no window; planner output: ") + QString::fromLocal8Bit(planner.process().readAll())));
        QVERIFY2(planner.boxesClosed() >= 1, "the damaged store went unreported");
        qInfo("%d message boxes closed at start", planner.boxesClosed());

        // The user types a year (none could be read), leaves the box, and
        // writes a note; the note is copied back through the clipboard, which
        // shows that the planner handled every keystroke.
        planner.click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::YearBox));
        planner.type(QStringLiteral("2021"));
        planner.key(QStringLiteral("Tab"));
        QVERIFY(planner.closeBoxesUntil([] { return true; }));
        planner.click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::noteBox(0)));
        planner.type(QStringLiteral("hello"));
        planner.xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
        QVERIFY(planner.closeBoxesUntil([&] { return planner.clipboard() == QLatin1String("hello"); }));
        QVERIFY(planner.isRunning());

        endProcess(planner.process());
        QCOMPARE(FaultKit::digestOf(storePath()), digest);
        QCOMPARE(FaultKit::inodeOf(storePath()), inode);
        QCOMPARE(FaultKit::namesIn(storeFolder()), names);
    }

    // The store is private to its user from the first start, also when the
    // user's umask would give everyone access.
    void storeIsPrivateWhateverTheUmask()
    {
        QVERIFY(QDir(m_home.filePath(QStringLiteral("data"))).removeRecursively()); // made by the planner, too
        QProcess planner;
        planner.setProcessEnvironment(plannerEnvironment(QStringLiteral("offscreen")));
        planner.setChildProcessModifier([] { ::umask(0); });
        planner.start(Planner, {});
        QVERIFY(waitUntilStarted(planner));
        const auto checkModes = [this] {
            QCOMPARE(modeOf(m_home.filePath(QStringLiteral("data"))), mode_t(0700));
            QCOMPARE(modeOf(storeFolder()), mode_t(0700));
            for (const QString &name : FaultKit::namesIn(storeFolder()))
                QVERIFY2(modeOf(storeFolder() + u'/' + name) == mode_t(0600), qPrintable(name));
        };
        checkModes(); // with the -wal and -shm files of the running planner
        endProcess(planner);
        checkModes();
        QVERIFY(FaultKit::namesIn(storeFolder()).contains(QStringLiteral("settings.sqlite3")));
    }

    // A restore while the planner shows the restored days: refused unless
    // forced; forced, the window shows the restored notes, and a keystroke
    // in a box whose note the restore replaced goes into the restored note,
    // never storing the box's old text over it; one in a box whose note it
    // left alone is stored as typed.
    void restoreWhileShownKeepsTheRestoredNotes()
    {
        SKIP_WITHOUT_X_TOOLS();
        const QString month = QStringLiteral("August"); // the planner's month under the fixed date
        const auto key = [&month](int cell) { return NoteKey::text(month, QStringLiteral("2021"), cell); };
        const auto makeStore = [&key](const QString &path, const QString &noteOf4) {
            SettingsStore store(path);
            store.save(Settings::Application, Settings::Section, Settings::YearOfPanel1Key, QStringLiteral("2021"));
            store.save(Settings::Application, Settings::Section, key(4), noteOf4);
            store.save(Settings::Application, Settings::Section, key(5), QStringLiteral("unchanged"));
        };
        QVERIFY(QDir().mkpath(storeFolder()));
        makeStore(storePath(), QStringLiteral("old note"));
        const QString firstCopy = m_home.filePath(QStringLiteral("first.sqlite3"));
        const QString secondCopy = m_home.filePath(QStringLiteral("second.sqlite3"));
        makeStore(firstCopy, QStringLiteral("restored note"));
        makeStore(secondCopy, QStringLiteral("second restore"));

        ShownPlanner planner;
        const QProcessEnvironment environment = plannerEnvironment(QStringLiteral("xcb"));
        if (!environment.contains(QStringLiteral("FAKETIME")))
            QSKIP("libfaketime is missing (scripts/install-deps.sh installs it)");
        QVERIFY2(planner.start(environment), "Xvfb or the planner did not start");
        QVERIFY(planner.waitForWindow());
        const auto restore = [&](const QStringList &arguments) {
            bool ok = false;
            runTool(Notes, QStringList{QStringLiteral("--store"), storePath(), QStringLiteral("restore")} + arguments,
                    environment, &ok);
            return ok;
        };
        // Bounded: true once the box shows text (as copied through the clipboard).
        const auto boxShows = [&](int cell, const QString &text) {
            planner.click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::noteBox(cell)));
            planner.key(QStringLiteral("ctrl+a"));
            planner.key(QStringLiteral("ctrl+c"));
            return planner.closeBoxesUntil([&] { return planner.clipboard() == text; });
        };
        const auto typeAtEnd = [&](int cell, const QString &text) {
            planner.click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::noteBox(cell)));
            planner.key(QStringLiteral("ctrl+End"));
            planner.type(text);
        };
        QVERIFY(boxShows(4, QStringLiteral("old note")));

        QVERIFY2(!restore({firstCopy}), "restored while a planner had the store open");
        QCOMPARE(FaultKit::storedValue(storePath(), key(4)), std::optional<QString>(QStringLiteral("old note")));
        QVERIFY(restore({QStringLiteral("--force"), firstCopy}));
        typeAtEnd(4, QStringLiteral("!"));
        QVERIFY2(boxShows(4, QStringLiteral("restored note!")), qPrintable(planner.clipboard()));
        QCOMPARE(FaultKit::storedValue(storePath(), key(4)), std::optional<QString>(QStringLiteral("restored note!")));
        typeAtEnd(4, QStringLiteral("?"));
        QVERIFY(boxShows(4, QStringLiteral("restored note!?")));

        QVERIFY(restore({QStringLiteral("--force"), secondCopy}));
        typeAtEnd(5, QStringLiteral("!"));
        QVERIFY(boxShows(5, QStringLiteral("unchanged!")));
        QCOMPARE(FaultKit::storedValue(storePath(), key(5)), std::optional<QString>(QStringLiteral("unchanged!")));
        QCOMPARE(FaultKit::storedValue(storePath(), key(4)), std::optional<QString>(QStringLiteral("second restore")));
        QVERIFY(boxShows(4, QStringLiteral("second restore")));
        QVERIFY(planner.isRunning());
    }

    // A paste that a file-size limit (ulimit -f) refuses is reported once,
    // and the planner goes on; the limit is not allowed to end it.
    void fileSizeLimitIsReportedNotFatal()
    {
        SKIP_WITHOUT_X_TOOLS();
        QVERIFY(QDir().mkpath(storeFolder()));
        {
            SettingsStore store(storePath());
            store.save(Settings::Application, Settings::Section, Settings::YearOfPanel1Key, QStringLiteral("2021"));
        }
        const QString pasted = m_home.filePath(QStringLiteral("pasted.txt"));
        {
            QFile file(pasted);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("A long pasted text. ").repeated(300 * 1024 / 20));
        }

        ShownPlanner planner;
        QVERIFY2(planner.start(plannerEnvironment(QStringLiteral("xcb")), [] {
            const rlimit limit{200 * 1024, 200 * 1024}; // ulimit -f 200
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }), "Xvfb or the planner did not start");
        QVERIFY(planner.waitForWindow());
        bool copied = false;
        runTool(tool("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"), pasted},
                planner.xEnvironment(), &copied);
        QVERIFY(copied);
        planner.click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::noteBox(6)));
        planner.key(QStringLiteral("ctrl+v"));

        QVERIFY2(planner.closeBoxesUntil([&] { return planner.boxesClosed() >= 1; }),
                 qPrintable(QStringLiteral("the planner ended: ") + QString::fromLocal8Bit(planner.process().readAll())));
        planner.type(QStringLiteral("x"));
        QVERIFY(planner.closeBoxesUntil([] { return true; }));
        QVERIFY(planner.isRunning());
        QCOMPARE(planner.boxesClosed(), 1);
    }

    // Every file the planner opens while it starts and fills its panels is the
    // system's (libraries, Qt's plugins, fonts, locale, /proc), its own folder's,
    // or its store's.
    void readsNoFileButItsOwn()
    {
        const QString strace = tool("strace");
        if (strace.isEmpty())
            QSKIP("strace is missing (scripts/install-deps.sh installs it)");
        bool traces = false;
        runTool(strace, {QStringLiteral("-o"), QStringLiteral("/dev/null"), QStringLiteral("true")},
                QProcessEnvironment::systemEnvironment(), &traces);
        if (!traces)
            QSKIP("strace cannot trace here (no ptrace in this container)");
        const QString log = m_home.filePath(QStringLiteral("strace.log"));
        QProcess tracer;
        QProcessEnvironment environment = plannerEnvironment(QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("LD_PRELOAD"));
        tracer.setProcessEnvironment(environment);
        tracer.setWorkingDirectory(m_home.filePath(QStringLiteral("home")));
        tracer.setProcessChannelMode(QProcess::MergedChannels);
        tracer.start(strace, {QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-e"),
                              QStringLiteral("trace=open,openat,openat2,creat"), QStringLiteral("-o"), log,
                              QStringLiteral("--"), Planner});
        QVERIFY(tracer.waitForStarted(10000));
        const bool started = waitUntilStarted(tracer);
        // The planner is the first process in the log; it is ended, and strace with it.
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray firstLine = file.readLine();
        const qint64 plannerPid = firstLine.left(firstLine.indexOf(' ')).toLongLong();
        if (plannerPid > 0 && started)
            ::kill(pid_t(plannerPid), SIGTERM);
        if (!tracer.waitForFinished(15000)) {
            if (plannerPid > 0)
                ::kill(pid_t(plannerPid), SIGKILL);
            endProcess(tracer);
        }
        QVERIFY2(started, tracer.readAll().constData());
        file.seek(0);
        const QString trace = QString::fromUtf8(file.readAll());
        QVERIFY(trace.contains(storePath()));

        const QString ownFolder = QFileInfo(Planner).absolutePath() + u'/';
        const QStringList systemFolders{QStringLiteral("/usr/"), QStringLiteral("/lib/"), QStringLiteral("/lib64/"),
                                        QStringLiteral("/etc/"), QStringLiteral("/proc/"), QStringLiteral("/sys/"),
                                        QStringLiteral("/dev/"), QStringLiteral("/run/"),
                                        QStringLiteral("/var/cache/fontconfig/")};
        static const QRegularExpression opened(QStringLiteral("^\\d+\\s+(?:open|openat|openat2|creat)\\((?:AT_FDCWD, )?\"([^\"]*)\""));
        QStringList foreign;
        for (const QString &line : trace.split(u'\n')) {
            const QRegularExpressionMatch match = opened.match(line);
            if (!match.hasMatch())
                continue;
            const QString path = match.captured(1);
            const bool system = std::any_of(systemFolders.cbegin(), systemFolders.cend(),
                                            [&](const QString &folder) { return path.startsWith(folder); });
            const bool fonts = path.contains(QLatin1String("fontconfig"));
            const bool own = path.startsWith(ownFolder) || path == storeFolder() || path.startsWith(storeFolder() + u'/');
            if (!system && !fonts && !own)
                foreign << line;
        }
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(RealProgramTest)
#include "tst_realprogram.moc"
