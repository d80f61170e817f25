// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include "notes/NoteStore.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "sync/SyncPass.h"
#include "sync/SyncState.h"
#include "sync/caldav/CalDavCollection.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimeZone>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>

namespace {

const QString User = QStringLiteral("tester");
const QString Password = QStringLiteral("s3cret pass");
const QString MergeLine = QStringLiteral("— changed on another device —");

// Debian's Radicale on 127.0.0.1 at a free port, with its own storage and one
// htpasswd user; stopped when the test ends.
class Radicale
{
public:
    Radicale()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        m_port = probe.serverPort();
        probe.close();
        QFile users(m_folder.filePath("users"));
        users.open(QIODevice::WriteOnly);
        users.write((User + u':' + Password + u'\n').toUtf8());
        users.close();
        QFile config(m_folder.filePath("config"));
        config.open(QIODevice::WriteOnly);
        // The storage hook runs after every write; when it fails, Radicale
        // answers 500 although the write is done: a server failing mid-pass.
        QFile hook(m_folder.filePath("hook.sh"));
        hook.open(QIODevice::WriteOnly);
        hook.write(QStringLiteral("n=$(cat '%1' 2>/dev/null || echo 0); echo $((n + 1)) > '%1'\n"
                                  "[ ! -e '%2' ] || [ \"$n\" -lt \"$(cat '%2')\" ]\n")
                       .arg(m_folder.filePath("writes"), failAfterPath()).toUtf8());
        hook.close();
        config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
                                    "htpasswd_encryption = plain\n[storage]\nfilesystem_folder = %3\nhook = sh %4\n"
                                    "[rights]\ntype = owner_only\n[logging]\nlevel = critical\n")
                         .arg(m_port).arg(users.fileName(), m_folder.filePath("collections"), hook.fileName()).toUtf8());
        config.close();
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start("/usr/bin/python3", {"-m", "radicale", "--config", config.fileName()});
        for (int attempt = 0; attempt < 150; ++attempt) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, m_port);
            if (socket.waitForConnected(100))
                return;
            QTest::qWait(100);
        }
        qWarning("Radicale did not start");
    }
    ~Radicale()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished();
    }
    QString root() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    QString collection() const { return root() + User + QStringLiteral("/tavorin-planner/"); }
    // The entries as the server keeps them.
    QStringList entryFiles() const
    {
        QStringList texts;
        QDir folder(m_folder.filePath("collections/collection-root/" + User + "/tavorin-planner"));
        for (const QString &name : folder.entryList({"*.ics"}, QDir::Files, QDir::Name))
            texts << QString::fromUtf8(NotesFixture::fileBytes(folder.filePath(name)));
        return texts;
    }

    // Every write from the next count on is answered with a 500 (and done).
    void failWritesAfter(int count)
    {
        const int done = NotesFixture::fileBytes(m_folder.filePath("writes")).trimmed().toInt();
        QFile file(failAfterPath());
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray::number(done + count));
    }
    void stopFailing() { QFile::remove(failAfterPath()); }

private:
    QString failAfterPath() const { return m_folder.filePath("fail-after"); }

    QTemporaryDir m_folder;
    QProcess m_process;
    quint16 m_port = 0;
};

// No keyring answers in the tests: the password comes from the command.
QProcessEnvironment noKeyring(const NotesFixture &machine)
{
    QProcessEnvironment environment;
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "");
    environment.insert("XDG_RUNTIME_DIR", machine.path("run"));
    return environment;
}

NotesFixture::Result sync(const NotesFixture &machine, const QStringList &arguments = {})
{
    return machine.run(QStringList{"sync"} + arguments, noKeyring(machine));
}

// The command that prints the password, as "pass show" would.
QString passwordCommand(const NotesFixture &machine, const QString &password)
{
    QFile file(machine.path("password"));
    file.open(QIODevice::WriteOnly);
    file.write((password + u'\n').toUtf8());
    return "cat '" + file.fileName() + "'";
}

bool setUp(const NotesFixture &machine, const QString &url)
{
    const auto result = sync(machine, {"setup", url, "--user", User, "--password-command", passwordCommand(machine, Password)});
    if (result.exitCode != 0)
        qWarning("setup: %s", result.err.constData());
    return result.exitCode == 0;
}

bool passes(const QList<const NotesFixture *> &machines)
{
    for (const NotesFixture *machine : machines) {
        const auto result = sync(*machine);
        if (result.exitCode != 0) {
            qWarning("sync: %d %s", result.exitCode, result.err.constData());
            return false;
        }
    }
    return true;
}

// "sync --watch" for ms, then ended as systemd ends it.
NotesFixture::Result watchFor(const NotesFixture &machine, int ms)
{
    QProcess watch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", machine.path(""));
    environment.insert("XDG_DATA_HOME", machine.path("data"));
    environment.insert("XDG_CONFIG_HOME", machine.path(".config"));
    environment.insert(noKeyring(machine));
    watch.setProcessEnvironment(environment);
    watch.start(QStringLiteral(TAVORIN_NOTES_PROGRAM), {"sync", "--watch"});
    if (!watch.waitForStarted())
        return {};
    QTest::qWait(ms);
    if (watch.state() == QProcess::Running && watch.processId() > 0) // never kill(0): that is our own group
        ::kill(pid_t(watch.processId()), SIGTERM);
    watch.waitForFinished(30000);
    NotesFixture::Result result;
    result.exitCode = watch.exitStatus() == QProcess::NormalExit ? watch.exitCode() : -1;
    result.out = watch.readAllStandardOutput();
    result.err = watch.readAllStandardError();
    return result;
}

QString noteOf(const NotesFixture &machine, const QString &key)
{
    return NotesFixture::contents(machine.storePath()).value(key);
}

QByteArray journal(const QString &uid, const QString &day, const QString &text)
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Phone//EN\r\nBEGIN:VJOURNAL\r\nUID:%1\r\n"
                          "DTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:%2\r\nSUMMARY:%3\r\nDESCRIPTION:%3\r\nEND:VJOURNAL\r\nEND:VCALENDAR\r\n")
        .arg(uid, day, text)
        .toUtf8();
}

// Puts an entry as another program (a phone) would, with a name of its own.
bool putOtherEntry(const QString &collection, const QString &uid, const QString &day, const QString &text)
{
    QProcess curl;
    curl.start("curl", {"-s", "-f", "-u", User + u':' + Password, "-X", "PUT", "-H", "Content-Type: text/calendar",
                        "--data-binary", "@-", collection + uid + ".ics"});
    curl.write(journal(uid, day, text));
    curl.closeWriteChannel();
    return curl.waitForFinished() && curl.exitCode() == 0;
}

} // namespace

// "sync" against a real Radicale: notes travel between two machines exactly,
// edits on both sides are both kept, other clients' entries are read and ours
// are readable by them, and nothing is lost or doubled when a pass is killed
// or the planner types during a pass.
class NotesSyncTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_server.reset(); }
    void noteTravels_data();
    void noteTravels();
    void bothSidesEdited();
    void otherClientsEntries();
    void readByAnotherClient();
    void faults_data();
    void faults();
    void serverFailsMidPass();
    void killedPassesConverge();

private:
    std::unique_ptr<Radicale> m_server;
};

void NotesSyncTest::initTestCase()
{
    m_server = std::make_unique<Radicale>();
    NotesFixture first;
    QVERIFY(setUp(first, m_server->root())); // finds the user's home and makes the calendar
    QVERIFY(NotesFixture::fileBytes(first.path(".config/Quillmere/sync.conf")).contains(m_server->collection().toUtf8()));
    QCOMPARE(NotesFixture::modeOf(first.path(".config/Quillmere/sync.conf")), 0600);
    QVERIFY(!NotesFixture::fileBytes(first.path(".config/Quillmere/sync.conf")).contains("s3cret"));
}

void NotesSyncTest::noteTravels_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("dtstart");

    QTest::newRow("plain, red") << "August_2021_txtNote_5" << "Dentist at 9" << "255" << "20210806";
    QTest::newRow("CR LF and Unicode") << "August_2021_txtNote_6" << "one\r\ntwo 😀 Ä;,\\" << "16711680" << "20210807";
    QTest::newRow("control characters") << "August_2021_txtNote_7" << "bell\a\ttab" << "0" << "20210808";
    QTest::newRow("German month") << "Dezember_2021_txtNote_4" << "Nikolaus" << "0" << "20211205";
    QTest::newRow("Russian month") << "декабрь_2021_txtNote_30" << "Новый год" << "0" << "20211231";
    QTest::newRow("no date") << "August_abc_txtNote_3" << "idea" << "" << "";
    // iCalendar readers drop blanks at either end of a value: they travel beside it.
    QTest::newRow("leading blank") << "August_2021_txtNote_8" << " one leading space" << "0" << "20210809";
    QTest::newRow("trailing blanks and tab") << "August_2021_txtNote_9" << "two trailing \t " << "0" << "20210810";
    QTest::newRow("only blanks") << "August_2021_txtNote_10" << "   " << "0" << "20210811";
}

void NotesSyncTest::noteTravels()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, color);
    QFETCH(QString, dtstart);
    NotesFixture here, there;
    here.put(key, text);
    if (!color.isEmpty())
        here.put(QString(key).replace("_txtNote_", "_txtNoteColor_"), color);
    QVERIFY(setUp(here, m_server->collection()));
    QVERIFY(setUp(there, m_server->collection()));

    QVERIFY(passes({&here, &there}));

    QCOMPARE(noteOf(there, key), text);
    QCOMPARE(noteOf(there, QString(key).replace("_txtNote_", "_txtNoteColor_")), color);
    const QStringList entries = m_server->entryFiles().filter("X-TAVORIN-KEY:" + key + "\r\n");
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.first().contains("DTSTART;VALUE=DATE:" + dtstart + "\r\n"), !dtstart.isEmpty());
    QCOMPARE(entries.first().contains("DTSTART"), !dtstart.isEmpty());
}

void NotesSyncTest::bothSidesEdited()
{
    NotesFixture here, there;
    QVERIFY(setUp(here, m_server->collection()));
    QVERIFY(setUp(there, m_server->collection()));
    const QString key = "March_2022_txtNote_1";
    here.put(key, "lunch");
    QVERIFY(passes({&here, &there}));
    here.put(key, "lunch with Ann");
    there.put(key, "lunch at noon");

    QVERIFY(passes({&here, &there, &here}));
    const auto quiet = sync(there);

    // The machine that finds both changed puts its own text first.
    const QString merged = "lunch at noon\n" + MergeLine + "\nlunch with Ann";
    QCOMPARE(noteOf(here, key), merged);
    QCOMPARE(noteOf(there, key), merged);
    QVERIFY2(quiet.out.startsWith("sync: 0 uploaded, 0 taken"), quiet.out.constData());
    QVERIFY2(quiet.out.contains("; 1 requests"), quiet.out.constData()); // nothing changed: one request
}

void NotesSyncTest::otherClientsEntries()
{
    NotesFixture here;
    QVERIFY(setUp(here, m_server->collection()));
    here.put("May_2023_txtNote_9", "mine");
    QVERIFY(putOtherEntry(m_server->collection(), "phone-1", "20230510", "from the phone"));
    QVERIFY(putOtherEntry(m_server->collection(), "phone-2", "20230511", "empty day"));

    QVERIFY(passes({&here, &here}));

    QCOMPARE(noteOf(here, "May_2023_txtNote_9"), "mine\nfrom the phone"); // added below, never in its place
    QCOMPARE(noteOf(here, "May_2023_txtNote_10"), "empty day");

    // When the planner types into the note just before a pass would add an
    // entry to it, the entry waits for the next pass; it is not lost.
    here.put("June_2023_txtNote_11", "mine");
    QVERIFY(putOtherEntry(m_server->collection(), "phone-3", "20230612", "from the phone"));
    {
        CalDavCollection client(QUrl(m_server->collection()), User, Password);
        SyncState state(SyncState::pathBeside(here.storePath()));
        NoteStore store(here.storePath());
        SettingsStore planner(here.storePath());
        SyncPass pass(client, state, store);
        pass.run(false, QDateTime(QDate(2026, 1, 1), QTime(12, 0), QTimeZone::utc()), [&](qint64 done, qint64 total) {
            if (done == total - 1) // the last note is done; the other program's entry comes next
                planner.save(Settings::Application, Settings::Section, "June_2023_txtNote_11", "mine, typed on");
        });
    }
    QCOMPARE(noteOf(here, "June_2023_txtNote_11"), "mine, typed on");
    QVERIFY(passes({&here}));
    QCOMPARE(noteOf(here, "June_2023_txtNote_11"), "mine, typed on\nfrom the phone");
}

void NotesSyncTest::readByAnotherClient()
{
    NotesFixture here;
    QVERIFY(setUp(here, m_server->collection()));
    here.put("June_2024_txtNote_0", "first line\nsecond, with; marks");
    QVERIFY(passes({&here}));

    QProcess reader;
    reader.start("/usr/bin/python3", {"-c", "import caldav, sys\n"
                                            "c = caldav.DAVClient(sys.argv[1], username=sys.argv[2], password=sys.argv[3]).calendar(url=sys.argv[1])\n"
                                            "for j in c.journals():\n"
                                            "    v = j.vobject_instance.vjournal\n"
                                            "    if 'dtstart' in v.contents and v.dtstart.value.isoformat() == '2024-06-01': print(v.summary.value + '|' + v.description.value)\n",
                                      m_server->collection(), User, Password});
    QVERIFY(reader.waitForFinished(30000));
    QVERIFY2(reader.exitCode() == 0, reader.readAllStandardError().constData());
    QCOMPARE(QString::fromUtf8(reader.readAllStandardOutput()), "first line|first line\nsecond, with; marks\n");
}

void NotesSyncTest::faults_data()
{
    QTest::addColumn<bool>("serverUp");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("watching");

    QTest::newRow("server down") << false << Password << 4 << "Cannot reach" << false;
    QTest::newRow("wrong password") << true << "wrong" << 5 << "refused the login" << false;
    // --watch tries again (after 5 s, then less often) and says so once; SIGTERM ends it with 0.
    QTest::newRow("server down, watching") << false << Password << 0 << "Cannot reach" << true;
    QTest::newRow("wrong password, watching") << true << "wrong" << 0 << "refused the login" << true;
}

void NotesSyncTest::faults()
{
    QFETCH(bool, serverUp);
    QFETCH(QString, password);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(bool, watching);
    NotesFixture here;
    here.put("July_2025_txtNote_2", "kept");
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const QString url = serverUp ? m_server->collection() : QStringLiteral("http://127.0.0.1:%1/cal/").arg(closed.serverPort());
    closed.close();
    QDir().mkpath(here.path(".config/Quillmere"));
    QFile config(here.path(".config/Quillmere/sync.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("url=%1\nuser=%2\npassword-command=%3\n").arg(url, User, passwordCommand(here, password)).toUtf8());
    config.close();

    const auto result = watching ? watchFor(here, 7000) : sync(here);

    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.count(message.toUtf8()) == 1, result.err.constData());
    QVERIFY(!result.err.contains(password.toUtf8()));
    QCOMPARE(noteOf(here, "July_2025_txtNote_2"), "kept");
}

void NotesSyncTest::serverFailsMidPass()
{
    NotesFixture here, there;
    QVERIFY(setUp(here, m_server->collection()));
    QVERIFY(setUp(there, m_server->collection()));
    for (int cell = 0; cell < 10; ++cell)
        here.put(QStringLiteral("April_2027_txtNote_%1").arg(cell), QStringLiteral("note %1").arg(cell));
    m_server->failWritesAfter(4);

    const auto failed = sync(here);
    m_server->stopFailing();

    QCOMPARE(failed.exitCode, 6);
    QVERIFY2(failed.err.contains("HTTP 500"), failed.err.constData());
    QVERIFY(passes({&here, &there}));
    for (int cell = 0; cell < 10; ++cell)
        QCOMPARE(noteOf(there, QStringLiteral("April_2027_txtNote_%1").arg(cell)), QStringLiteral("note %1").arg(cell));
    QCOMPARE(m_server->entryFiles().filter("April_2027").size(), 10);
}

void NotesSyncTest::killedPassesConverge()
{
    NotesFixture here, there;
    QVERIFY(setUp(here, m_server->collection()));
    QVERIFY(setUp(there, m_server->collection()));
    QStringList texts;
    for (int cell = 0; cell < 30; ++cell) {
        texts << QStringLiteral("<here %1>").arg(cell) << QStringLiteral("<there %1>").arg(cell);
        here.put(QStringLiteral("October_2026_txtNote_%1").arg(cell), texts.at(texts.size() - 2));
        if (cell % 2 == 0) // the same day on both machines for every other note
            there.put(QStringLiteral("October_2026_txtNote_%1").arg(cell), texts.last());
        else
            there.put(QStringLiteral("November_2026_txtNote_%1").arg(cell), texts.last());
    }

    QRandomGenerator random(13);
    int killed = 0;
    const QString program = QStringLiteral(TAVORIN_NOTES_PROGRAM);
    for (int round = 0; killed < 20 && round < 80; ++round) {
        NotesFixture &machine = round % 2 ? there : here;
        QProcess pass;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", machine.path(""));
        environment.insert("XDG_DATA_HOME", machine.path("data"));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", "");
        environment.insert("XDG_RUNTIME_DIR", machine.path("run"));
        pass.setProcessEnvironment(environment);
        pass.start(program, {"sync"});
        QVERIFY(pass.waitForStarted());
        QTest::qWait(int(random.bounded(5, 150)));
        // The planner types into the same store while the pass runs.
        texts << QStringLiteral("<typed %1>").arg(round);
        const QString typed = QStringLiteral("%1_2026_txtNote_%2").arg(round % 2 ? "December" : "January").arg(round % 6);
        machine.put(typed, (noteOf(machine, typed) + u' ' + texts.last()).trimmed());
        QTest::qWait(int(random.bounded(0, 100)));
        if (pass.state() == QProcess::Running && pass.processId() > 0) { // never kill(0): that is our own group
            ::kill(pid_t(pass.processId()), SIGKILL);
            ++killed;
        }
        pass.waitForFinished();
    }
    QVERIFY(killed >= 20);
    QVERIFY(passes({&here, &there, &here, &there}));

    const auto notesOf = [](const NotesFixture &machine) {
        QMap<QString, QString> notes = NotesFixture::contents(machine.storePath());
        notes.removeIf([](const auto &item) { return !item.key().contains("_txtNote_"); });
        return notes;
    };
    QCOMPARE(notesOf(here), notesOf(there));
    const QString all = QStringList(notesOf(here).values()).join(u'\n');
    for (const QString &text : texts)
        QCOMPARE(all.count(text), 1);
    QVERIFY(sync(here).out.contains("; 1 requests"));
}

QTEST_GUILESS_MAIN(NotesSyncTest)
#include "tst_notes_sync.moc"
