// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotesFixture.h"

#include "notes/NoteJournal.h"
#include "notes/NoteStore.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "sync/SyncPass.h"
#include "sync/SyncState.h"
#include "sync/caldav/CalDavCollection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QThread>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QRegularExpression>
#include <QSet>
#include <QTimeZone>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <atomic>
#include <map>
#include <csignal>

namespace {

const QString User = QStringLiteral("tester");
const QString Password = QStringLiteral("s3cret pass");
const QString MergeLine = QStringLiteral("— changed on another device —");

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// Waits until a server started by the test answers on port.
bool listening(quint16 port)
{
    for (int attempt = 0; attempt < 150; ++attempt) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(100))
            return true;
        QTest::qWait(100);
    }
    return false;
}

void stop(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished();
}

// Debian's Radicale on 127.0.0.1 at a free port, with its own storage and one
// htpasswd user; stopped when the test ends. serverLines go into its
// [server] section (a size limit, TLS).
class Radicale
{
public:
    explicit Radicale(const QString &serverLines = {}, const QString &scheme = QStringLiteral("http"))
        : m_scheme(scheme)
    {
        m_port = freePort();
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
        config.write(QStringLiteral("[server]\nhosts = 127.0.0.1:%1\n%5[auth]\ntype = htpasswd\nhtpasswd_filename = %2\n"
                                    "htpasswd_encryption = plain\n[storage]\nfilesystem_folder = %3\nhook = sh %4\n"
                                    "[rights]\ntype = owner_only\n[logging]\nlevel = critical\n")
                         .arg(m_port).arg(users.fileName(), m_folder.filePath("collections"), hook.fileName(), serverLines).toUtf8());
        config.close();
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start("/usr/bin/python3", {"-m", "radicale", "--config", config.fileName()});
        if (!listening(m_port))
            qWarning("Radicale did not start");
    }
    ~Radicale() { stop(m_process); }
    QString root() const { return QStringLiteral("%1://127.0.0.1:%2/").arg(m_scheme).arg(m_port); }
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
    QString m_scheme;
    quint16 m_port = 0;
};

// A server of the test's own on 127.0.0.1 that gives every request the same
// answer (or one per method), one no real server sends: a redirect
// elsewhere, a header or body a server must not send, an answer that never
// ends or never comes, a 501 to the sync report. It runs in a thread of its
// own, as the program under test runs beside the test.
// Special answers: "SILENT" (never answers), "DRIBBLE" (a byte now and then),
// "ENDLESS" (a body without end), "SLOW" + answer (the answer after 300 ms).
class HostileServer : public QThread
{
public:
    explicit HostileServer(const QByteArray &answer, const QHash<QByteArray, QByteArray> &byMethod = {})
        : m_answer(answer), m_byMethod(byMethod)
    {
        start();
        m_ready.acquire();
    }
    ~HostileServer() override
    {
        m_stop = true;
        wait();
    }
    QString root() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    QList<QByteArray> requests() const
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }
    QStringList methods() const
    {
        QStringList methods;
        for (const QByteArray &request : requests())
            methods << QString::fromLatin1(request.left(request.indexOf(' ')));
        return methods;
    }

    // A complete answer that closes the connection after it.
    static QByteArray answer(const QByteArray &status, const QByteArray &body, const QByteArray &headers = {})
    {
        return "HTTP/1.1 " + status + "\r\n" + headers + "Content-Length: " + QByteArray::number(body.size())
               + "\r\nConnection: close\r\n\r\n" + body;
    }

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        m_ready.release();
        // One request at a time, from whichever connection has one whole:
        // a connection opened with nothing on it yet does not hold up the rest.
        std::map<std::unique_ptr<QTcpSocket>, QByteArray> connections;
        while (!m_stop) {
            if (server.waitForNewConnection(connections.empty() ? 50 : 5)) {
                while (QTcpSocket *socket = server.nextPendingConnection())
                    connections.emplace(socket, QByteArray());
            }
            for (auto it = connections.begin(); it != connections.end(); ++it) {
                QTcpSocket &socket = *it->first;
                QByteArray &request = it->second;
                socket.waitForReadyRead(0);
                request += socket.readAll();
                if (isWhole(request)) {
                    {
                        QMutexLocker lock(&m_mutex);
                        m_requests << request;
                    }
                    serve(socket, m_byMethod.value(request.left(request.indexOf(' ')), m_answer));
                    connections.erase(it);
                    break;
                }
            }
        }
    }

private:
    static qsizetype contentLength(const QByteArray &request)
    {
        static const QRegularExpression header("content-length:\\s*(\\d+)", QRegularExpression::CaseInsensitiveOption);
        const auto match = header.match(QString::fromLatin1(request.left(request.indexOf("\r\n\r\n"))));
        return match.hasMatch() ? match.captured(1).toLongLong() : 0;
    }
    // Its body too, so that closing does not reset the connection under the answer.
    static bool isWhole(const QByteArray &request)
    {
        const qsizetype head = request.indexOf("\r\n\r\n");
        return head >= 0 && request.size() >= head + 4 + contentLength(request);
    }
    bool open(QTcpSocket &socket) const
    {
        return !m_stop && socket.state() == QAbstractSocket::ConnectedState;
    }
    void serve(QTcpSocket &socket, const QByteArray &answer)
    {
        if (answer == "SILENT") {
            while (open(socket))
                socket.waitForReadyRead(50);
        } else if (answer == "DRIBBLE") {
            socket.write("HTTP/1.1 207 Multi-Status\r\nContent-Length: 100000\r\n\r\n");
            while (open(socket) && socket.write(" ") == 1 && socket.waitForBytesWritten(1000))
                QThread::msleep(300);
        } else if (answer == "ENDLESS") {
            socket.write("HTTP/1.1 207 Multi-Status\r\nConnection: close\r\n\r\n<multistatus>");
            const QByteArray chunk(1024 * 1024, ' ');
            for (int sent = 0; open(socket) && sent < 200; ++sent) {
                socket.write(chunk);
                socket.waitForBytesWritten(2000);
            }
        } else if (answer.startsWith("SLOW")) {
            QThread::msleep(300);
            serve(socket, answer.mid(4));
        } else {
            socket.write(answer);
            socket.waitForBytesWritten(2000);
            socket.disconnectFromHost();
        }
    }

    QByteArray m_answer;
    QHash<QByteArray, QByteArray> m_byMethod;
    std::atomic<bool> m_stop = false;
    std::atomic<quint16> m_port = 0;
    QSemaphore m_ready;
    mutable QMutex m_mutex;
    QList<QByteArray> m_requests;
};

// Debian's Xandikos on 127.0.0.1 at a free port, with its default calendar;
// it asks for no login, and ignores the one sent.
class Xandikos
{
public:
    Xandikos()
    {
        m_port = freePort();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.start("/usr/bin/xandikos", {"-d", m_folder.path(), "-l", "127.0.0.1", "-p", QString::number(m_port), "--defaults"});
        if (!listening(m_port))
            qWarning("Xandikos did not start");
    }
    ~Xandikos() { stop(m_process); }
    QString root() const { return QStringLiteral("http://127.0.0.1:%1/").arg(m_port); }
    // The calendar of the user's appointments that --defaults makes.
    QString appointments() const { return root() + QStringLiteral("user/calendars/calendar/"); }

private:
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

NotesFixture::Result setUpWith(const NotesFixture &machine, const QString &url, const QStringList &options = {})
{
    return sync(machine, QStringList{"setup", url, "--user", User, "--password-command", passwordCommand(machine, Password)} + options);
}

bool setUp(const NotesFixture &machine, const QString &url, const QStringList &options = {})
{
    const auto result = setUpWith(machine, url, options);
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

// An entry of another program: a journal entry, or with component "VEVENT" an appointment.
QByteArray otherEntry(const QString &uid, const QString &day, const QString &text, const QString &component = QStringLiteral("VJOURNAL"))
{
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//Phone//EN\r\nBEGIN:%4\r\nUID:%1\r\n"
                          "DTSTAMP:20260101T000000Z\r\nDTSTART;VALUE=DATE:%2\r\nSUMMARY:%3\r\nDESCRIPTION:%3\r\nEND:%4\r\nEND:VCALENDAR\r\n")
        .arg(uid, day, text, component)
        .toUtf8();
}

// A WebDAV request as another client sends it, with curl; the status it got.
int curlRequest(const QString &verb, const QString &url, const QByteArray &body, const QString &type)
{
    QProcess curl;
    curl.start("curl", {"-s", "-o", "/dev/null", "-w", "%{http_code}", "-u", User + u':' + Password, "-X", verb,
                        "-H", "Content-Type: " + type, "--data-binary", "@-", url});
    curl.write(body);
    curl.closeWriteChannel();
    curl.waitForFinished();
    return curl.readAllStandardOutput().toInt();
}

// Puts an entry as another program (a phone) would, with a name of its own.
bool putOtherEntry(const QString &collection, const QString &uid, const QString &day, const QString &text,
                   const QString &component = QStringLiteral("VJOURNAL"))
{
    return curlRequest("PUT", collection + uid + ".ics", otherEntry(uid, day, text, component), "text/calendar") / 100 == 2;
}

// Makes a calendar that takes only component, as another client would.
bool makeCalendar(const QString &url, const QString &component)
{
    const QByteArray body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                            "<D:set><D:prop><D:displayname>Appointments</D:displayname><C:supported-calendar-component-set>"
                            "<C:comp name=\"" + component.toUtf8() + "\"/></C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>";
    return curlRequest("MKCALENDAR", url, body, "application/xml") == 201;
}

// Our entries in the calendar at url as python3-caldav reads them, one line
// each: of events "start|end|transparency|title|description", of journal
// entries "start|title|description", line breaks written as "\n".
QStringList readBack(const QString &url, bool events)
{
    QProcess reader;
    reader.start("/usr/bin/python3", {"-c", "import caldav, sys\n"
                                            "c = caldav.DAVClient(sys.argv[1], username=sys.argv[2], password=sys.argv[3]).calendar(url=sys.argv[1])\n"
                                            "for e in (c.events() if sys.argv[4] == 'events' else c.journals()):\n"
                                            "    v = e.vobject_instance.contents\n"
                                            "    v = (v.get('vevent') or v.get('vjournal'))[0]\n"
                                            "    if any(p not in v.contents for p in ('x-tavorin-key', 'dtstart', 'summary')): continue\n"
                                            "    f = [v.dtstart.value.isoformat()]\n"
                                            "    if sys.argv[4] == 'events': f += [v.dtend.value.isoformat(), v.transp.value]\n"
                                            "    f += [v.summary.value, v.description.value.replace('\\n', '\\\\n')]\n"
                                            "    print('|'.join(f))\n",
                                      url, User, Password, events ? "events" : "journals"});
    if (!reader.waitForFinished(30000) || reader.exitCode() != 0)
        qWarning("python3-caldav: %s", reader.readAllStandardError().constData());
    QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

// The notes of one year in a store, for comparing machines.
QMap<QString, QString> notesOfYear(const NotesFixture &machine, const QString &year)
{
    QMap<QString, QString> notes = NotesFixture::contents(machine.storePath());
    notes.removeIf([&](const auto &item) { return !item.key().contains(u'_' + year + u'_'); });
    return notes;
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
    void cleanupTestCase()
    {
        m_server.reset();
        m_xandikos.reset();
    }
    void noteTravels_data();
    void noteTravels();
    void roundTrip_data();
    void roundTrip();
    void bothSidesEdited();
    void otherClientsEntries();
    void oneDayUnderTwoLanguagesKeys();
    void readByAnotherClient();
    void faults_data();
    void faults();
    void serverFailsMidPass();
    void killedPassesConverge();
    void refusedNote();
    void trustedCertificate();
    void throughVdirsyncer();
    void syncReportNotImplemented();
    void uploadsQueuedAtASlowServer();

private:
    std::unique_ptr<Radicale> m_server;
    std::unique_ptr<Xandikos> m_xandikos;
};

void NotesSyncTest::initTestCase()
{
    m_server = std::make_unique<Radicale>();
    m_xandikos = std::make_unique<Xandikos>();
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
    QTest::addColumn<QString>("localeThere"); // LC_ALL of the second machine
    QTest::addColumn<QString>("keyThere");    // the key its window builds for the day

    QTest::newRow("plain, red") << "August_2021_txtNote_5" << "Dentist at 9" << "255" << "20210806" << "C" << "August_2021_txtNote_5";
    QTest::newRow("CR LF and Unicode") << "August_2021_txtNote_6" << "one\r\ntwo 😀 Ä;,\\" << "16711680" << "20210807" << "C"
                                       << "August_2021_txtNote_6";
    QTest::newRow("control characters") << "August_2021_txtNote_7" << "bell\a\ttab" << "0" << "20210808" << "C" << "August_2021_txtNote_7";
    // One day, one note, whatever the language of each machine's window.
    QTest::newRow("German machine to an English one") << "Dezember_2021_txtNote_4" << "Nikolaus" << "0" << "20211205" << "C"
                                                      << "December_2021_txtNote_4";
    QTest::newRow("English machine to a German one") << "March_2024_txtNote_5" << "Zahnarzt" << "255" << "20240306"
                                                     << "de_DE.UTF-8" << "März_2024_txtNote_5";
    QTest::newRow("Russian machine to an English one") << "декабрь_2021_txtNote_30" << "Новый год" << "0" << "20211231" << "C"
                                                       << "December_2021_txtNote_30";
    QTest::newRow("no date") << "August_abc_txtNote_3" << "idea" << "" << "" << "de_DE.UTF-8" << "August_abc_txtNote_3";
    // iCalendar readers drop blanks at either end of a value: they travel beside it.
    QTest::newRow("leading blank") << "August_2021_txtNote_8" << " one leading space" << "0" << "20210809" << "C" << "August_2021_txtNote_8";
    QTest::newRow("trailing blanks and tab") << "August_2021_txtNote_9" << "two trailing \t " << "0" << "20210810" << "C"
                                             << "August_2021_txtNote_9";
    QTest::newRow("only blanks") << "August_2021_txtNote_10" << "   " << "0" << "20210811" << "C" << "August_2021_txtNote_10";
}

void NotesSyncTest::noteTravels()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QString, color);
    QFETCH(QString, dtstart);
    QFETCH(QString, localeThere);
    QFETCH(QString, keyThere);
    NotesFixture here, there;
    here.put(key, text);
    if (!color.isEmpty())
        here.put(QString(key).replace("_txtNote_", "_txtNoteColor_"), color);
    QVERIFY(setUp(here, m_server->collection()));
    QVERIFY(setUp(there, m_server->collection()));
    QProcessEnvironment thereEnvironment = noKeyring(there);
    thereEnvironment.insert("LC_ALL", localeThere);

    QVERIFY(passes({&here}));
    QCOMPARE(there.run({"sync"}, thereEnvironment).exitCode, 0);
    there.put(keyThere, text + " ok"); // typed into the day in the other language's window
    QCOMPARE(there.run({"sync"}, thereEnvironment).exitCode, 0);
    QVERIFY(passes({&here}));

    QCOMPARE(noteOf(there, keyThere), text + " ok");
    QCOMPARE(noteOf(there, QString(keyThere).replace("_txtNote_", "_txtNoteColor_")), color);
    QCOMPARE(NotesFixture::contents(there.storePath()).contains(key), key == keyThere);
    QCOMPARE(noteOf(here, key), text + " ok");
    const QStringList entries = m_server->entryFiles().filter("X-TAVORIN-KEY:" + keyThere + "\r\n");
    QCOMPARE(entries.size(), 1);
    if (!dtstart.isEmpty()) // one entry of that day
        QCOMPARE(m_server->entryFiles().filter("DTSTART;VALUE=DATE:" + dtstart + "\r\n").size(), 1);
    QCOMPARE(entries.first().contains("DTSTART;VALUE=DATE:" + dtstart + "\r\n"), !dtstart.isEmpty());
    QCOMPARE(entries.first().contains("DTSTART"), !dtstart.isEmpty());
}

void NotesSyncTest::roundTrip_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("start"); // where setup starts
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("events");    // the notes travel as events
    QTest::addColumn<QString>("year");   // each row's notes their own

    QTest::newRow("Radicale, from its root") << "radicale" << "root" << QStringList() << false << "2031";
    QTest::newRow("Xandikos, from its /.well-known/caldav, a redirect") << "xandikos" << "well-known" << QStringList() << false << "2032";
    QTest::newRow("Radicale, a calendar of appointments that takes no journal entries")
        << "radicale" << "appointments" << QStringList() << true << "2033";
    QTest::newRow("Xandikos, a calendar of appointments, --as events") << "xandikos" << "appointments" << QStringList{"--as", "events"} << true
                                                                         << "2034";
}

// Two machines and a third set up later, through one server: setup, a first
// pass (over a hundred notes), an edit on each side and one on both, a pass
// that changes nothing.
// In a calendar of the user's appointments the notes are all-day events that
// other clients read as such, and the appointments never become notes.
void NotesSyncTest::roundTrip()
{
    QFETCH(QString, server);
    QFETCH(QString, start);
    QFETCH(QStringList, options);
    QFETCH(bool, events);
    QFETCH(QString, year);
    const QString root = server == u"radicale" ? m_server->root() : m_xandikos->root();
    QString url = start == u"well-known" ? root + ".well-known/caldav" : root;
    if (start == u"appointments") {
        url = server == u"radicale" ? root + User + "/appointments/" : m_xandikos->appointments();
        if (server == u"radicale")
            QVERIFY(makeCalendar(url, "VEVENT"));
        QVERIFY(putOtherEntry(url, "dentist", year + "0305", "Dentist", "VEVENT"));
    }
    NotesFixture here, there, later;
    const auto setup = setUpWith(here, url, options);
    QVERIFY2(setup.exitCode == 0, setup.err.constData());
    QCOMPARE(setup.err.contains("as all-day events"), events);
    QVERIFY(setUp(there, url, options));
    const QString calendar = QString::fromUtf8(NotesFixture::fileBytes(here.path(".config/Quillmere/sync.conf"))).section("url=", 1).section(u'\n', 0, 0);

    const QString day5 = "March_" + year + "_txtNote_4", day6 = "March_" + year + "_txtNote_5", day7 = "March_" + year + "_txtNote_6";
    // Enough notes that a machine's first pull asks for the whole calendar at once.
    const QString bulkYear = QString::number(year.toInt() - 100);
    for (const QString month : {"April", "May", "June", "July"})
        here.putNotes(month, bulkYear, QStringList(26, month + " " + bulkYear));
    here.put(day5, "lunch\nwith Ann");
    here.put(QString(day5).replace("_txtNote_", "_txtNoteColor_"), "255");
    QVERIFY(passes({&here, &there}));
    QCOMPARE(noteOf(there, day5), "lunch\nwith Ann");
    const QString line = events ? year + "-03-05|" + year + "-03-06|TRANSPARENT|lunch|lunch\\nwith Ann" : year + "-03-05|lunch|lunch\\nwith Ann";
    QStringList read = readBack(calendar, events);
    read.removeIf([&](const QString &entry) { return !entry.startsWith(year); });
    QCOMPARE(read, QStringList{line});

    here.put(day5, "lunch with Ann");
    there.put(day5, "lunch at noon");
    here.put(day6, "from here");
    there.put(day7, "from there");
    QVERIFY(passes({&here, &there, &here}));
    const auto quiet = sync(there);

    const QString merged = "lunch at noon\n" + MergeLine + "\nlunch with Ann";
    for (const NotesFixture *machine : {&here, &there}) {
        QCOMPARE(noteOf(*machine, day5), merged);
        QCOMPARE(noteOf(*machine, day6), "from here");
        QCOMPARE(noteOf(*machine, day7), "from there");
    }
    QVERIFY2(quiet.out.contains("; 1 requests"), quiet.out.constData());
    QVERIFY(setUp(later, url, options));
    QVERIFY(passes({&later}));
    QCOMPARE(notesOfYear(later, year), notesOfYear(here, year));
    QCOMPARE(notesOfYear(later, bulkYear), notesOfYear(here, bulkYear));
    QCOMPARE(noteOf(here, "March_" + year + "_txtNote_4").contains("Dentist"), false); // an appointment is no note
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
    // A day with nothing of ours is kept in the phone's entry, which gets our key: one entry, shown once.
    const QStringList emptyDay = m_server->entryFiles().filter("DTSTART;VALUE=DATE:20230511\r\n");
    QCOMPARE(emptyDay.size(), 1);
    QVERIFY2(emptyDay.first().contains("UID:phone-2\r\n") && emptyDay.first().contains("X-TAVORIN-KEY:May_2023_txtNote_10\r\n"),
             qPrintable(emptyDay.first()));

    // Each later edit on the phone changes the text it brought, never adds another copy.
    for (const QString &edit : QStringList{"from the phone edited", "from the phone edited twice"}) {
        QVERIFY(putOtherEntry(m_server->collection(), "phone-1", "20230510", edit));
        QVERIFY(passes({&here}));
        QCOMPARE(noteOf(here, "May_2023_txtNote_9"), "mine\n" + edit);
    }

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

// Earlier versions put a day's note at an address made from the key: an
// English and a German machine made two entries of one day. The first pass
// that sees both brings them together into one, text once.
void NotesSyncTest::oneDayUnderTwoLanguagesKeys()
{
    {
        CalDavCollection client(QUrl(m_server->collection()), User, Password);
        const QDateTime stamp(QDate(2026, 1, 1), QTime(12, 0), QTimeZone::utc());
        for (const auto &[key, text] : {std::pair{"March_2023_txtNote_2", "lunch with Ann"},
                                        std::pair{"März_2023_txtNote_2", "lunch with Ann\nZahnarzt um 9"}}) {
            const Note note = *Note::fromKey(key, text, "255");
            QCOMPARE(client.put(client.hrefFor(NoteJournal::keyFileNameFor(key)),
                                NoteJournal::calendarText(note, stamp, {}, NoteJournal::Form::Journal, NoteJournal::keyUidFor(key)), {}).outcome,
                     Collection::Put::Stored);
        }
    }
    NotesFixture english, german;
    QVERIFY(setUp(english, m_server->collection()));
    QVERIFY(setUp(german, m_server->collection()));
    QProcessEnvironment inGerman = noKeyring(german);
    inGerman.insert("LC_ALL", "de_DE.UTF-8");

    QVERIFY(passes({&english, &english}));
    QCOMPARE(german.run({"sync"}, inGerman).exitCode, 0);

    QCOMPARE(noteOf(english, "March_2023_txtNote_2"), "lunch with Ann\nZahnarzt um 9");
    QCOMPARE(noteOf(german, "März_2023_txtNote_2"), "lunch with Ann\nZahnarzt um 9");
    QCOMPARE(m_server->entryFiles().filter("DTSTART;VALUE=DATE:20230303\r\n").size(), 1);
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
    QTest::addColumn<QString>("server");     // "radicale", "closed" (nobody listens) or "hostile"
    QTest::addColumn<QByteArray>("answer");  // the hostile server's; OTHER/ the root of a second one
    QTest::addColumn<QString>("twist");      // what else is wrong on this machine
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("watching");

    const auto answer = [](const QByteArray &status, const QByteArray &body, const QByteArray &headers = {}) {
        return HostileServer::answer(status, body, headers);
    };
    const auto multistatus = [](const QByteArray &responses) {
        return HostileServer::answer("207 Multi-Status", "<?xml version=\"1.0\"?><D:multistatus xmlns:D=\"DAV:\">" + responses
                                                             + "<D:sync-token>t2</D:sync-token></D:multistatus>");
    };
    const QByteArray entry = "<D:response><D:href>/cal/%1.ics</D:href><D:propstat><D:prop><D:getetag>%2</D:getetag>"
                             "</D:prop><D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>";
    const QString none;
    QTest::newRow("server down") << "closed" << QByteArray() << none << Password << 4 << "Cannot reach" << false;
    QTest::newRow("wrong password") << "radicale" << QByteArray() << none << "wrong" << 5 << "refused the login" << false;
    QTest::newRow("redirect to another origin")
        << "hostile" << answer("307 Temporary Redirect", {}, "Location: OTHER/cal/\r\n") << none << Password << 6
        << "is not followed" << false;
    QTest::newRow("redirect that would turn REPORT into GET")
        << "hostile" << answer("301 Moved Permanently", {}, "Location: /elsewhere/\r\n") << none << Password << 6
        << "HTTP 301" << false;
    QTest::newRow("ETag with CR LF")
        << "hostile" << multistatus(QString::fromLatin1(entry).arg("a", "\"1\"&#13;&#10;X-Injected: 1").toUtf8()) << none
        << Password << 6 << "ETag that HTTP does not allow" << false;
    QTest::newRow("href outside the collection")
        << "hostile" << multistatus(QString::fromLatin1(entry).arg("../other/x", "\"1\"").toUtf8()) << none << Password
        << 6 << "outside the calendar" << false;
    QTest::newRow("answer without end") << "hostile" << QByteArray("ENDLESS") << none << Password << 6 << "more than 64 MB" << false;
    QTest::newRow("silent server") << "hostile" << QByteArray("SILENT") << none << Password << 4 << "did not answer" << false;
    QTest::newRow("a byte now and then") << "hostile" << QByteArray("DRIBBLE") << none << Password << 4 << "did not answer" << false;
    QTest::newRow("207 cut short")
        << "hostile" << answer("207 Multi-Status", "<?xml version=\"1.0\"?>\n<D:multistatus xmlns:D=\"DAV:\">\n<D:response>")
        << none << Password << 6 << "broken answer (line 3)" << false;
    QTest::newRow("207 that is no multistatus")
        << "hostile" << answer("207 Multi-Status", "<html><body>welcome</body></html>") << none << Password << 6
        << "no multistatus but html" << false;
    QTest::newRow("server's error text, without escapes")
        << "hostile" << answer("500 Internal Server Error", "<p>disk\x1b[2J full</p>") << none << Password << 6
        << "failed (HTTP 500: disk" << false;
    QTest::newRow("password in the address at setup") << "closed" << QByteArray() << "setup-userinfo" << Password << 3
                                                       << "holds a user name or password" << false;
    QTest::newRow("plain http to another machine at setup") << "closed" << QByteArray() << "setup-http" << Password << 3
                                                            << "--allow-insecure-http" << false;
    QTest::newRow("sync.conf writable by others") << "radicale" << QByteArray() << "config-open" << Password << 3
                                                  << "can be changed by other users" << false;
    QTest::newRow("config folder writable by others") << "radicale" << QByteArray() << "folder-open" << Password << 3
                                                      << "can be changed by other users" << false;
    QTest::newRow("link at the sync state's place") << "radicale" << QByteArray() << "state-link" << Password << 3
                                                    << "symbolic link" << false;
    // --watch tries again (after 5 s, then less often) and says so once; SIGTERM ends it with 0.
    QTest::newRow("server down, watching") << "closed" << QByteArray() << none << Password << 0 << "Cannot reach" << true;
    QTest::newRow("wrong password, watching") << "radicale" << QByteArray() << none << "wrong" << 0 << "refused the login" << true;
}

// Whatever goes wrong, the pass ends in time with its own exit code and a
// message that says what, the password is never shown or sent to a server
// that did not ask for it, and the notes stay.
void NotesSyncTest::faults()
{
    QFETCH(QString, server);
    QFETCH(QByteArray, answer);
    QFETCH(QString, twist);
    QFETCH(QString, password);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(bool, watching);
    NotesFixture here;
    here.put("July_2025_txtNote_2", "kept");
    HostileServer other(HostileServer::answer("200 OK", "never asked"));
    std::unique_ptr<HostileServer> hostile;
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    QString url = QStringLiteral("http://127.0.0.1:%1/cal/").arg(closed.serverPort());
    closed.close();
    if (server == u"radicale")
        url = m_server->collection();
    if (server == u"hostile") {
        hostile = std::make_unique<HostileServer>(answer.replace("OTHER/", other.root().toUtf8()));
        url = hostile->root() + QStringLiteral("cal/");
    }
    QDir().mkpath(here.path(".config/Quillmere"));
    QFile config(here.path(".config/Quillmere/sync.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("url=%1\nuser=%2\npassword-command=%3\n").arg(url, User, passwordCommand(here, password)).toUtf8());
    if (hostile)
        config.write("timeout=1\n"); // a deadline the test can wait for
    config.close();
    if (twist == u"config-open")
        QVERIFY(config.setPermissions(config.permissions() | QFile::WriteOther));
    if (twist == u"folder-open")
        QVERIFY(QFile(here.path(".config/Quillmere")).setPermissions(QFile::Permissions(0x7777)));
    if (twist == u"state-link")
        QVERIFY(QFile::link(here.path("elsewhere.sqlite3"), SyncState::pathBeside(here.storePath())));
    QStringList arguments;
    if (twist == u"setup-userinfo")
        arguments = {"setup", url.replace("http://", "http://" + User + ":s3cret@"), "--user", User};
    if (twist == u"setup-http")
        arguments = {"setup", "http://192.0.2.1/cal/", "--user", User};
    if (!arguments.isEmpty()) {
        QFile::remove(config.fileName());
        arguments << "--password-command" << passwordCommand(here, password);
    }

    QElapsedTimer clock;
    clock.start();
    const auto result = watching ? watchFor(here, 7000) : sync(here, arguments);

    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(watching ? result.err.count(message.toUtf8()) == 1 : result.err.contains(message.toUtf8()), result.err.constData());
    QVERIFY(watching || clock.elapsed() < 20000);
    QVERIFY(!result.err.contains(password.toUtf8()) && !result.err.contains("s3cret") && !result.err.contains('\x1b'));
    if (answer.contains("disk"))
        QVERIFY2(result.err.contains("[2J full"), result.err.constData()); // the server's words, made harmless
    QCOMPARE(noteOf(here, "July_2025_txtNote_2"), "kept");
    QVERIFY(!QFile::exists(here.path("elsewhere.sqlite3")));
    if (!arguments.isEmpty())
        QVERIFY(!QFile::exists(config.fileName()));
    QVERIFY(other.requests().isEmpty());
    for (const QByteArray &request : hostile ? hostile->requests() : QList<QByteArray>())
        QVERIFY2(!request.toLower().contains("authorization:"), request.constData()); // none asked for it
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

// vdirsyncer, run with a configuration of the test's own; false when it fails.
bool vdirsyncer(const QString &config, const QString &command)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start("/usr/bin/vdirsyncer", {"-c", config, command, "notes"});
    const bool done = process.waitForFinished(60000) && process.exitCode() == 0;
    if (!done)
        qWarning("vdirsyncer %s: %s", qPrintable(command), process.readAll().constData());
    return done;
}

// The property lines of an iCalendar text, unfolded, whatever its line ends.
QSet<QString> propertyLines(const QByteArray &calendar)
{
    QString text = QString::fromUtf8(calendar);
    text.replace("\r\n", "\n").replace("\n ", "").replace("\n\t", "");
    const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    return QSet<QString>(lines.cbegin(), lines.cend());
}

// Another client that keeps a folder of .ics files: our entries reach it with
// every property line as the server has it, an edit made there and synced up
// is taken by the next pass, and the notes still travel exactly.
void NotesSyncTest::throughVdirsyncer()
{
    NotesFixture here, there;
    QVERIFY(setUp(here, m_server->collection()));
    const QString blanks = " two\r\nlines, with blanks ";
    here.put("September_2024_txtNote_0", "plain");
    here.put("September_2024_txtNote_1", blanks);
    here.put("September_2024_txtNoteColor_1", "16711680");
    QVERIFY(passes({&here}));

    QTemporaryDir folder;
    QDir().mkpath(folder.filePath("status"));
    QDir().mkpath(folder.filePath("ics"));
    QFile config(folder.filePath("config"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(QStringLiteral("[general]\nstatus_path = \"%1\"\n[pair notes]\na = \"server\"\nb = \"folder\"\ncollections = null\n"
                                "[storage server]\ntype = \"caldav\"\nurl = \"%2\"\nusername = \"%3\"\npassword = \"%4\"\n"
                                "[storage folder]\ntype = \"filesystem\"\npath = \"%5\"\nfileext = \".ics\"\n")
                     .arg(folder.filePath("status"), m_server->collection(), User, Password, folder.filePath("ics")).toUtf8());
    config.close();
    QVERIFY(vdirsyncer(config.fileName(), "discover"));
    QVERIFY(vdirsyncer(config.fileName(), "sync"));

    QMap<QString, QString> files; // the folder's file of each of our entries, by key
    QDir ics(folder.filePath("ics"));
    for (const QString &name : ics.entryList({"*.ics"}, QDir::Files)) {
        const QByteArray bytes = NotesFixture::fileBytes(ics.filePath(name));
        for (const char *key : {"September_2024_txtNote_0", "September_2024_txtNote_1"}) {
            if (bytes.contains("X-TAVORIN-KEY:" + QByteArray(key) + '\n') || bytes.contains("X-TAVORIN-KEY:" + QByteArray(key) + "\r\n"))
                files.insert(QString::fromUtf8(key), ics.filePath(name));
        }
    }
    QCOMPARE(files.size(), 2);
    for (const QString &entry : m_server->entryFiles().filter("September_2024")) {
        const QString key = entry.section("X-TAVORIN-KEY:", 1).section(u'\r', 0, 0);
        QCOMPARE(propertyLines(NotesFixture::fileBytes(files.value(key))), propertyLines(entry.toUtf8()));
    }

    // Saved as editors save, beside and renamed into place, a while later:
    // vdirsyncer knows a changed file by its time and inode.
    QTest::qWait(1100);
    QByteArray edited = NotesFixture::fileBytes(files.value("September_2024_txtNote_0"));
    edited.replace("SUMMARY:plain", "SUMMARY:plain and edited").replace("DESCRIPTION:plain", "DESCRIPTION:plain and edited");
    QSaveFile file(files.value("September_2024_txtNote_0"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(edited);
    QVERIFY(file.commit());
    QVERIFY(vdirsyncer(config.fileName(), "sync"));
    QVERIFY(setUp(there, m_server->collection()));
    QVERIFY(passes({&here, &there}));

    QCOMPARE(noteOf(here, "September_2024_txtNote_0"), "plain and edited");
    QCOMPARE(noteOf(there, "September_2024_txtNote_0"), "plain and edited");
    QCOMPARE(notesOfYear(there, "2024").value("September_2024_txtNote_1"), blanks);
    QCOMPARE(notesOfYear(there, "2024").value("September_2024_txtNoteColor_1"), "16711680");
}

// A note the server refuses (too long for its limit) is reported by its day;
// the others go up, the server's changes come down, and it goes up once it fits.
void NotesSyncTest::refusedNote()
{
    Radicale limited(QStringLiteral("max_content_length = 4000\n"));
    NotesFixture here, there;
    QVERIFY(setUp(here, limited.root()));
    QVERIFY(setUp(there, limited.root()));
    there.put("March_2024_txtNote_0", "from there");
    QVERIFY(passes({&there}));
    here.put("March_2024_txtNote_5", QString(6000, u'x'));
    here.put("March_2024_txtNote_6", "fits");

    const auto refused = sync(here);

    QCOMPARE(refused.exitCode, 6);
    QVERIFY2(refused.err.contains("6 March 2024") && refused.err.contains("the server refused it (HTTP 413: Request body too large.)"), refused.err.constData());
    QCOMPARE(noteOf(here, "March_2024_txtNote_0"), "from there");
    QVERIFY(passes({&there}));
    QCOMPARE(noteOf(there, "March_2024_txtNote_6"), "fits");
    here.put("March_2024_txtNote_5", "shorter");
    QVERIFY(passes({&here, &there}));
    QCOMPARE(noteOf(there, "March_2024_txtNote_5"), "shorter");
}

// A self-hosted server with a certificate of its own: setup says how to
// trust it, and with --certificate sync goes on to it.
void NotesSyncTest::trustedCertificate()
{
    QTemporaryDir keys;
    QProcess openssl;
    openssl.start("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                              "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", keys.filePath("key.pem"), "-out", keys.filePath("cert.pem")});
    QVERIFY(openssl.waitForFinished(30000) && openssl.exitCode() == 0);
    Radicale secure(QStringLiteral("ssl = True\ncertificate = %1\nkey = %2\n").arg(keys.filePath("cert.pem"), keys.filePath("key.pem")),
                    QStringLiteral("https"));
    NotesFixture here;
    here.put("May_2024_txtNote_0", "over TLS");

    const auto untrusted = setUpWith(here, secure.root());
    QCOMPARE(untrusted.exitCode, 4);
    QVERIFY2(untrusted.err.contains("--certificate FILE"), untrusted.err.constData());
    QVERIFY(setUp(here, secure.root(), {"--certificate", keys.filePath("cert.pem")}));
    QVERIFY(NotesFixture::fileBytes(here.path(".config/Quillmere/sync.conf")).contains("certificate=" + keys.filePath("cert.pem").toUtf8()));
    QVERIFY(passes({&here}));
    QCOMPARE(secure.entryFiles().size(), 1);
}

// A server that does not implement sync-collection gets the listing instead.
void NotesSyncTest::syncReportNotImplemented()
{
    HostileServer server(HostileServer::answer("207 Multi-Status", R"(<?xml version="1.0"?><D:multistatus xmlns:D="DAV:"/>)",
                                               "Content-Type: application/xml\r\n"),
                         {{"REPORT", HostileServer::answer("501 Not Implemented", "Not Implemented")}});
    CalDavCollection client(QUrl(server.root() + QStringLiteral("cal/")), User, Password);

    const Collection::Changes changes = client.changesSince(QString());

    QVERIFY(changes.complete);
    QCOMPARE(server.methods(), (QStringList{"REPORT", "PROPFIND"}));
}

// A server that takes one upload at a time, each well within the time a
// request has, but the uploads waiting behind others together over it: every
// one is stored, none runs out of time while the server keeps answering.
void NotesSyncTest::uploadsQueuedAtASlowServer()
{
    HostileServer server("SLOW" + HostileServer::answer("201 Created", {}, "ETag: \"1\"\r\n"));
    CalDavCollection client(QUrl(server.root() + QStringLiteral("cal/")), User, Password);
    client.setRequestTimeout(1);
    QList<Collection::PutRequest> uploads;
    for (int i = 0; i < 8; ++i)
        uploads << Collection::PutRequest{client.hrefFor(QStringLiteral("%1.ics").arg(i)), "BEGIN:VCALENDAR", {}};

    QList<Collection::Put> puts;
    try {
        puts = client.putAll(uploads);
    } catch (const SyncFailure &failure) {
        QFAIL(qPrintable(failure.description));
    }

    QCOMPARE(puts.size(), uploads.size());
    for (const Collection::Put &put : puts)
        QCOMPARE(put.outcome, Collection::Put::Stored);
}

QTEST_GUILESS_MAIN(NotesSyncTest)
#include "tst_notes_sync.moc"
