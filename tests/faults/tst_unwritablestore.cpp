// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"
#include "notes/NoteKey.h"
#include "support/TestEnvironment.h"
#include "support/TestSeams.h"

#include "calendar/Controls.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/Sqlite.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestEnvironment;

namespace {

// Mounts of our own, in a mount namespace of this process alone. CI runs as
// root, where file modes stop no write; a read-only or full file system does.
// Entered in main() before any thread exists; where the kernel or a container
// refuses, the tests that need it are skipped.
QString mountsUnavailable = QStringLiteral("not tried");

bool writeFile(const char *path, const QByteArray &content)
{
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    ::close(fd);
    return ok;
}

void enterPrivateMountNamespace()
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWNS) != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) {
            mountsUnavailable = QStringLiteral("no mount namespace: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        writeFile("/proc/self/setgroups", "deny");
        if (!writeFile("/proc/self/uid_map", QByteArray::number(uid) + " " + QByteArray::number(uid) + " 1")
            || !writeFile("/proc/self/gid_map", QByteArray::number(gid) + " " + QByteArray::number(gid) + " 1")) {
            mountsUnavailable = QStringLiteral("no id map in the user namespace");
            return;
        }
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        mountsUnavailable = QStringLiteral("mounts not private: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mountsUnavailable.clear();
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A small tmpfs of our own over folder, gone again when the object is.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(const QString &folder, const char *options = "size=2m,mode=0700")
        : m_folder(QFile::encodeName(folder))
    {
        QDir().mkpath(folder);
        if (::mount("tavorin-test", m_folder.constData(), "tmpfs", 0, options) != 0)
            m_error = errnoText();
    }
    ~SmallFileSystem()
    {
        if (m_error.isEmpty())
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    const QString &error() const { return m_error; }

    bool remount(unsigned long flags)
    {
        return ::mount(nullptr, m_folder.constData(), nullptr, MS_REMOUNT | flags, nullptr) == 0;
    }

private:
    QByteArray m_folder;
    QString m_error;
};

// What makes the store refuse writes, and what makes it take them again.
class Blocker
{
public:
    virtual ~Blocker() = default;
    // Called before the store is first used; an empty text or why the means is not there.
    virtual QString prepare(const QString &storePath) { Q_UNUSED(storePath) return {}; }
    virtual void block() = 0;
    virtual void unblock() = 0;
};

// A file-size limit of zero: every write to a file fails with EFBIG, for root too.
class FileSizeLimit : public Blocker
{
public:
    void block() override
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        const rlimit none{0, m_saved.rlim_max};
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &none) == 0);
    }
    void unblock() override { QVERIFY(::setrlimit(RLIMIT_FSIZE, &m_saved) == 0); }
    ~FileSizeLimit() override { ::setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{RLIM_INFINITY, RLIM_INFINITY};
};

// The store's folder on a small file system that a big file fills up.
class FullDisk : public Blocker
{
public:
    QString prepare(const QString &storePath) override
    {
        if (!mountsUnavailable.isEmpty())
            return mountsUnavailable;
        const QString folder = QFileInfo(storePath).absolutePath();
        m_fileSystem = std::make_unique<SmallFileSystem>(folder);
        m_filler = folder + QStringLiteral("/filler");
        return m_fileSystem->error();
    }
    void block() override
    {
        QFile filler(m_filler);
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
    }
    void unblock() override { QVERIFY(QFile::remove(m_filler)); }

private:
    std::unique_ptr<SmallFileSystem> m_fileSystem;
    QString m_filler;
};

// A second copy of the planner in the middle of a write that takes longer
// than the store waits: the sqlite3 program holding a write transaction open.
class SecondCopy : public Blocker
{
public:
    QString prepare(const QString &storePath) override
    {
        m_storePath = storePath;
        m_program = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
        return m_program.isEmpty() ? QStringLiteral("no sqlite3 program (scripts/install-deps.sh installs it)")
                                   : QString();
    }
    void block() override
    {
        m_copy.start(m_program, {QStringLiteral("-batch"), m_storePath});
        QVERIFY(m_copy.waitForStarted(10000));
        m_copy.write("BEGIN IMMEDIATE;\n"
                     "INSERT OR REPLACE INTO settings VALUES('Quillmere', 'Tavorin Planner', 'Written by the other copy', 'yes');\n");
        QVERIFY2(waitUntilHeld(), "the other copy did not take the write lock");
    }
    void unblock() override
    {
        m_copy.write("COMMIT;\n.quit\n");
        m_copy.closeWriteChannel();
        QVERIFY(m_copy.waitForFinished(10000));
        QVERIFY2(m_copy.exitCode() == 0, m_copy.readAllStandardError().constData());
    }
    ~SecondCopy() override
    {
        if (m_copy.state() != QProcess::NotRunning) {
            m_copy.kill();
            m_copy.waitForFinished(5000);
        }
    }

private:
    // Bounded: true once a write transaction of ours would have to wait.
    bool waitUntilHeld()
    {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            const Sqlite::Database db(QFile::encodeName(m_storePath), SQLITE_OPEN_READWRITE);
            const int code = sqlite3_exec(db.handle(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            sqlite3_exec(db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
            if (Sqlite::isBusy(code))
                return true;
            QTest::qWait(20);
        }
        return false;
    }

    QString m_storePath;
    QString m_program;
    QProcess m_copy;
};

std::unique_ptr<Blocker> makeBlocker(const QString &means)
{
    if (means == QLatin1String("file-size limit"))
        return std::make_unique<FileSizeLimit>();
    if (means == QLatin1String("full disk"))
        return std::make_unique<FullDisk>();
    return std::make_unique<SecondCopy>();
}

constexpr uid_t NobodyId = 65534;

// Makes user the owner of folder and everything in it.
bool giveTreeTo(const QString &folder, uid_t user)
{
    QStringList paths{folder};
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    for (const QString &path : paths) {
        if (::chown(QFile::encodeName(path).constData(), user, gid_t(user)) != 0)
            return false;
    }
    return true;
}

// Whether another user can reach path: every folder above it searchable by all.
bool reachableByOthers(const QString &path)
{
    for (QString folder = QFileInfo(path).absolutePath(); ; folder = QFileInfo(folder).absolutePath()) {
        struct stat info{};
        if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !(info.st_mode & S_IXOTH))
            return false;
        if (folder == QLatin1String("/"))
            return true;
    }
}

int countFrom(const RecordedMessages &messages, qsizetype from)
{
    return int(messages.shown().size() - from);
}

} // namespace

// A store that cannot take a write for a while: the user is told once for the
// whole run of failed keystrokes, in words that name the file; what was typed
// stays in its box; and once the store takes writes again, the next keystroke
// stores the whole text.
class UnwritableStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        std::signal(SIGXFSZ, SIG_IGN); // a write past the file-size limit fails instead of ending us
        useEnglishNames();
        FixedToday::set(QDate(2021, 8, 15));
        if (!mountsUnavailable.isEmpty())
            qInfo("mount tests skipped: %s", qPrintable(mountsUnavailable));
    }

    void oneMessageTextKeptWholeTextStoredAfter_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::newRow("file-size limit") << "disk I/O error";
        QTest::newRow("full disk") << "database or disk is full";
        QTest::newRow("second copy writing") << "database is locked";
    }
    void oneMessageTextKeptWholeTextStoredAfter()
    {
        QFETCH(QString, reason);
        RecordedMessages messages;
        PrivateStore store;
        const std::unique_ptr<Blocker> blocker = makeBlocker(QString::fromLatin1(QTest::currentDataTag()));
        const QString unavailable = blocker->prepare(store.path());
        if (!unavailable.isEmpty())
            QSKIP(qPrintable(unavailable));
        const QString noteKey = NoteKey::text(QStringLiteral("August"), QStringLiteral("2021"), 9);
        {
            Form1 window;
            window.Form_Load();
            window.show();
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QVERIFY(messages.shown().isEmpty());
            NoteBox *note = window.panel1()->noteBox(9);
            FaultKit::giveFocus(note);
            FaultKit::typeText(note, QStringLiteral("Buy "));
            QCOMPARE(FaultKit::storedValue(store.path(), noteKey), std::optional<QString>(QStringLiteral("Buy ")));

            blocker->block();
            FaultKit::typeText(note, QStringLiteral("mi"));
            QCOMPARE(note->text(), QStringLiteral("Buy mi"));
            QCOMPARE(countFrom(messages, 0), 1);
            const ShownMessage &message = messages.shown().constFirst();
            QVERIFY2(message.text.contains(store.path()), qPrintable(message.text));
            QVERIFY2(message.text.contains(reason), qPrintable(message.text));
            QVERIFY2(message.text.contains(noteKey), qPrintable(message.text));
            QCOMPARE(message.style, 48);
            blocker->unblock();
            QCOMPARE(FaultKit::storedValue(store.path(), noteKey), std::optional<QString>(QStringLiteral("Buy ")));

            FaultKit::typeText(note, QStringLiteral("l"));
            QCOMPARE(FaultKit::storedValue(store.path(), noteKey), std::optional<QString>(QStringLiteral("Buy mil")));
            QCOMPARE(FaultKit::storedValue(store.path(), NoteKey::color("August", "2021", 9)),
                     std::optional<QString>(QStringLiteral("0")));
            QCOMPARE(countFrom(messages, 0), 1);

            // The store worked in between, so a new failure is news again.
            blocker->block();
            FaultKit::typeText(note, QStringLiteral("k"));
            QCOMPARE(countFrom(messages, 0), 2);
            blocker->unblock();
            FaultKit::typeText(note, QStringLiteral("!"));
            QCOMPARE(FaultKit::storedValue(store.path(), noteKey), std::optional<QString>(QStringLiteral("Buy milk!")));
            QCOMPARE(countFrom(messages, 0), 2);
        }
        Settings::useStoreAt(store.path()); // closes the store as the end of the program does
        QCOMPARE(FaultKit::integrityOf(store.path()), QStringLiteral("ok"));
        const QMap<QString, QString> contents = store.contents();
        QCOMPARE(contents.value(noteKey), QStringLiteral("Buy milk!"));
        if (contents.contains(QStringLiteral("Written by the other copy")))
            QCOMPARE(contents.value(QStringLiteral("Written by the other copy")), QStringLiteral("yes"));
    }

    // A store file that its user may not write to when the planner starts:
    // the notes show, the first refused write is reported, typing adds no more
    // messages, and once the file is
    // writable again the next keystroke stores the whole text. File modes stop
    // no write of root, so as root the planner runs as the user "nobody".
    void readOnlyFileRecoversWhenWritable()
    {
        const uid_t user = ::geteuid() == 0 ? NobodyId : 0;
        QTemporaryDir home;
        if (user != 0 && !(reachableByOthers(QStringLiteral(TYPIST_PATH)) && reachableByOthers(home.path())))
            QSKIP("the user nobody cannot reach the typist program or the temporary folder");
        const QString storePath = home.filePath(QStringLiteral("data/Quillmere/settings.sqlite3"));
        const QString noteKey = NoteKey::text(QStringLiteral("August"), QStringLiteral("2021"), 2);
        {
            SettingsStore store(storePath);
            store.save(Settings::Application, Settings::Section, noteKey, QStringLiteral("Dentist"));
        }
        if (user != 0)
            QVERIFY(giveTreeTo(home.path(), user));
        QVERIFY(QFile::setPermissions(storePath, QFile::ReadOwner));

        FaultKit::Typist typist(QStringLiteral(TYPIST_PATH), home.path(), 2, user);
        QVERIFY2(typist.waitUntilReady(), qPrintable(typist.output()));
        // The start-up's store of the year texts is the first write refused.
        QCOMPARE(typist.messages().size(), 1);
        const QString message = typist.messages().constFirst();
        QVERIFY2(message.contains(storePath) && message.contains(QLatin1String("readonly")), qPrintable(message));
        QVERIFY(typist.type(QStringLiteral(" at 9")));
        QCOMPARE(typist.messages().size(), 1);

        // SQLite made the -wal and -shm files with the store's mode: all of them are made writable.
        const QDir folder = QFileInfo(storePath).absoluteDir();
        for (const QString &name : folder.entryList({QStringLiteral("settings.sqlite3*")}, QDir::Files))
            QVERIFY(QFile::setPermissions(folder.filePath(name), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(typist.type(QStringLiteral(":")));
        QCOMPARE(typist.messages().size(), 1);
        QCOMPARE(FaultKit::storedValue(storePath, noteKey), std::optional<QString>(QStringLiteral("Dentist at 9:")));
        QCOMPARE(typist.quit(), 0);
        QCOMPARE(FaultKit::integrityOf(storePath), QStringLiteral("ok"));
    }

    // A store on a file system that is read-only when the planner starts:
    // SQLite cannot read a WAL store there, so the start-up reports the file;
    // typing is refused without more messages, and once the file system is
    // writable again the next keystroke stores the whole text and the other
    // notes are still there.
    void readOnlyFileSystemRecoversWhenWritable()
    {
        if (!mountsUnavailable.isEmpty())
            QSKIP(qPrintable(mountsUnavailable));
        RecordedMessages messages;
        PrivateStore store;
        const QString folder = QFileInfo(store.path()).absolutePath();
        SmallFileSystem fileSystem(folder);
        QVERIFY2(fileSystem.error().isEmpty(), qPrintable(fileSystem.error()));
        const QString earlierKey = NoteKey::text(QStringLiteral("August"), QStringLiteral("2021"), 2);
        const QString noteKey = NoteKey::text(QStringLiteral("August"), QStringLiteral("2021"), 3);
        store.put(earlierKey, QStringLiteral("Dentist"));
        store.put(Settings::YearOfPanel1Key, QStringLiteral("2021"));
        Settings::useStoreAt(store.path()); // the earlier run ends
        QVERIFY2(fileSystem.remount(MS_RDONLY), qPrintable(errnoText()));
        {
            Form1 window;
            window.Form_Load();
            window.show();
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window));
            QVERIFY(!messages.shown().isEmpty());
            for (const ShownMessage &message : messages.shown())
                QVERIFY2(message.text.contains(store.path()), qPrintable(message.text));
            const qsizetype shownAtStart = messages.shown().size();

            // The year is typed again, since it could not be read.
            QLineEdit *year = window.panel1()->yearBox();
            FaultKit::giveFocus(year);
            FaultKit::typeText(year, QStringLiteral("2021"));
            NoteBox *note = window.panel1()->noteBox(3);
            FaultKit::giveFocus(note);
            FaultKit::typeText(note, QStringLiteral("Gym"));
            QCOMPARE(note->text(), QStringLiteral("Gym"));
            QVERIFY(messages.shown().size() <= shownAtStart + 1);

            QVERIFY2(fileSystem.remount(0), qPrintable(errnoText()));
            FaultKit::typeText(note, QStringLiteral("!"));
            QCOMPARE(FaultKit::storedValue(store.path(), noteKey), std::optional<QString>(QStringLiteral("Gym!")));
        }
        Settings::useStoreAt(store.path());
        QCOMPARE(FaultKit::integrityOf(store.path()), QStringLiteral("ok"));
        QCOMPARE(FaultKit::storedValue(store.path(), earlierKey), std::optional<QString>(QStringLiteral("Dentist")));
    }
};

int main(int argc, char *argv[])
{
    enterPrivateMountNamespace(); // before QApplication starts any thread
    QApplication application(argc, argv);
    UnwritableStoreTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_unwritablestore.moc"
