#include "FaultKit.h"

#include "calendar/WindowDesign.h"
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
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

const QString Planner = QStringLiteral(PLANNER_PATH);

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


QByteArray storeWithNotes()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("settings.sqlite3"));
    {
        SettingsStore store(path);
        for (int cell = 0; cell < 31; ++cell)
            store.save(Settings::Application, Settings::Section, Settings::noteTextKey("August", "2021", cell),
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
        for (const char *name : {"Xvfb", "xdotool", "xclip"}) {
            if (tool(name).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing (scripts/install-deps.sh installs it)").arg(QLatin1String(name))));
        }
        QVERIFY(QDir().mkpath(storeFolder()));
        {
            QFile file(storePath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        }
        const QByteArray digest = FaultKit::digestOf(storePath());
        const ino_t inode = FaultKit::inodeOf(storePath());
        const QStringList names = FaultKit::namesIn(storeFolder());

        XServer x;
        QVERIFY2(x.start(), "Xvfb did not start");
        QProcessEnvironment environment = plannerEnvironment(QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), x.display());
        QProcessEnvironment xEnvironment;
        xEnvironment.insert(QStringLiteral("DISPLAY"), x.display());
        xEnvironment.insert(QStringLiteral("PATH"), qEnvironmentVariable("PATH"));
        const auto xdotool = [&](const QStringList &arguments) { return runTool(tool("xdotool"), arguments, xEnvironment); };

        QProcess planner;
        planner.setProcessEnvironment(environment);
        planner.setProcessChannelMode(QProcess::MergedChannels);
        planner.start(Planner, {});
        QVERIFY(planner.waitForStarted(10000));
        const QString pid = QString::number(planner.processId());
        // The planner's visible window of exactly that title, if any.
        const auto visibleWindow = [&](const QStringList &titles) {
            const QStringList ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                             QStringLiteral("--pid"), pid, QStringLiteral("--name"), QStringLiteral(".")})
                                        .split(u'\n', Qt::SkipEmptyParts);
            for (const QString &id : ids) {
                if (titles.contains(xdotool({QStringLiteral("getwindowname"), id})))
                    return id;
            }
            return QString();
        };
        // Message boxes: the start-up's error report and the handler of other failures.
        const QStringList boxTitles{QStringLiteral("Application Error"), QStringLiteral("Tavorin")};
        // Closes every message box that shows, with Return as a user would; true
        // once done() holds with no box open.
        int boxesClosed = 0;
        const auto closeBoxesUntil = [&](const std::function<bool()> &done) {
            QDeadlineTimer deadline(60000);
            while (!deadline.hasExpired() && planner.state() == QProcess::Running) {
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
                ++boxesClosed;
            }
            return false;
        };

        QString window;
        QVERIFY2(closeBoxesUntil([&] { return !(window = visibleWindow({QStringLiteral("Tavorin Planner")})).isEmpty(); }),
                 qPrintable(QStringLiteral("no window; planner output: ") + QString::fromLocal8Bit(planner.readAll())));
        QVERIFY2(boxesClosed >= 1, "the damaged store went unreported");
        qInfo("%d message boxes closed at start", boxesClosed);

        // The user types a year (none could be read), leaves the box, and
        // writes a note; the note is copied back through the clipboard, which
        // shows that the planner handled every keystroke.
        const auto click = [&](const QPoint &at) {
            xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(at.x()),
                     QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
        };
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::YearBox));
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("2021")});
        xdotool({QStringLiteral("key"), QStringLiteral("Tab")});
        QVERIFY(closeBoxesUntil([] { return true; }));
        click(centreOf(WindowDesign::PanelFrame[0], WindowDesign::noteBox(0)));
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("hello")});
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
        QVERIFY(closeBoxesUntil([&] {
            bool ok = false;
            const QString copied = runTool(tool("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                           QStringLiteral("clipboard")}, xEnvironment, &ok);
            return ok && copied == QLatin1String("hello");
        }));
        QCOMPARE(planner.state(), QProcess::Running);

        endProcess(planner);
        QCOMPARE(FaultKit::digestOf(storePath()), digest);
        QCOMPARE(FaultKit::inodeOf(storePath()), inode);
        QCOMPARE(FaultKit::namesIn(storeFolder()), names);
    }

    // The store is private to its user from the first start, also when the
    // user's umask would give everyone access.
    void storeIsPrivateWhateverTheUmask()
    {
        QProcess planner;
        planner.setProcessEnvironment(plannerEnvironment(QStringLiteral("offscreen")));
        planner.setChildProcessModifier([] { ::umask(0); });
        planner.start(Planner, {});
        QVERIFY(waitUntilStarted(planner));
        const auto checkModes = [this] {
            QCOMPARE(modeOf(storeFolder()), mode_t(0700));
            for (const QString &name : FaultKit::namesIn(storeFolder()))
                QVERIFY2(modeOf(storeFolder() + u'/' + name) == mode_t(0600), qPrintable(name));
        };
        checkModes(); // with the -wal and -shm files of the running planner
        endProcess(planner);
        checkModes();
        QVERIFY(FaultKit::namesIn(storeFolder()).contains(QStringLiteral("settings.sqlite3")));
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
