// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"

#include "notes/NoteKey.h"
#include "settings/Settings.h"
#include "settings/Sqlite.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {

// A burst of typing with several lines and letters of several scripts, long
// enough that no kill comes after its end.
QString typedText()
{
    const QString line = QString::fromUtf8("Zahnarzt 9:30 — ça va? ÆØÅ 東京 Смирнов\nbring forms ");
    return line.repeated(400);
}

struct Outcome
{
    int typed = 0;        // keystrokes that had returned, so had been stored
    bool done = false;    // the whole text was typed
    QStringList messages; // message boxes the typist was shown
};

Outcome readOutput(const QByteArray &output)
{
    Outcome outcome;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("typed "))
            outcome.typed = line.mid(6).toInt();
        else if (line == "done")
            outcome.done = true;
        else if (line.startsWith("message "))
            outcome.messages << QString::fromUtf8(line);
    }
    return outcome;
}

} // namespace

// The planner killed at any moment, in the middle of its start or of a burst
// of typing: the store stays sound, keeps every keystroke that had returned
// before the kill, and the next start works with it as usual.
class CrashTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    QString storePath() const { return m_home.filePath(QStringLiteral("data/Quillmere/settings.sqlite3")); }

    void startTypist(QProcess &typist, int cell, const QString &text)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), m_home.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        typist.setProcessEnvironment(environment);
        typist.setProcessChannelMode(QProcess::SeparateChannels);
        typist.start(QStringLiteral(TYPIST_PATH), {QString::number(cell), text});
    }

    // Runs the typist to the end with text for cell; it must finish without a
    // message and leave the text stored.
    void typeToTheEnd(int cell, const QString &text)
    {
        QProcess typist;
        startTypist(typist, cell, text);
        QVERIFY(typist.waitForFinished(30000));
        QCOMPARE(typist.exitStatus(), QProcess::NormalExit);
        const Outcome outcome = readOutput(typist.readAllStandardOutput());
        QVERIFY2(outcome.messages.isEmpty(), qPrintable(outcome.messages.join(u'\n')));
        QVERIFY(outcome.done);
        QCOMPARE(FaultKit::storedValue(storePath(), NoteKey::text("August", "2021", cell)),
                 std::optional<QString>(text));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
    }

    void init()
    {
        QDir(m_home.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_home.path()));
    }

    // What a first start leaves when it is killed while making the store: an
    // empty file, or a file switched to WAL before the table was made.
    void storeLeftByAStartCutShortIsTakenUp_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::newRow("empty file") << QString();
        QTest::newRow("WAL header without the table") << QStringLiteral("PRAGMA journal_mode = WAL");
    }
    void storeLeftByAStartCutShortIsTakenUp()
    {
        QFETCH(QString, sql);
        QVERIFY(QDir().mkpath(QFileInfo(storePath()).absolutePath()));
        QFile file(storePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        if (!sql.isEmpty()) {
            const Sqlite::Database db(QFile::encodeName(storePath()), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
            QCOMPARE(sqlite3_exec(db.handle(), sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        }

        typeToTheEnd(3, QStringLiteral("ok"));
        QCOMPARE(FaultKit::storedValue(storePath(), Settings::YearOfPanel1Key),
                 std::optional<QString>(QStringLiteral("2021")));
    }

    void killedAtAnyMomentKeepsEveryStoredKeystroke()
    {
        const quint32 seed = qEnvironmentVariableIsSet("FAULTS_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("FAULTS_SEED"))
                                 : QRandomGenerator::system()->generate();
        qInfo("random seed %u (set FAULTS_SEED to repeat this run)", seed);
        QRandomGenerator random(seed);
        const QString text = typedText();
        QMap<int, QString> kept; // cell: what the store held for it after its round

        for (int round = 0; round < 10; ++round) {
            const int cell = round;
            QProcess typist;
            startTypist(typist, cell, text);
            QVERIFY(typist.waitForStarted(10000));
            // From the start of the process, so that some kills land in the start-up.
            const int delay = int(random.bounded(1500));
            QTest::qWait(delay);
            const bool endedByItself = typist.state() == QProcess::NotRunning;
            if (!endedByItself) {
                typist.kill();
                QVERIFY(typist.waitForFinished(10000));
            }
            const Outcome outcome = readOutput(typist.readAllStandardOutput());
            if (endedByItself) {
                QVERIFY2(typist.exitStatus() == QProcess::NormalExit && typist.exitCode() == 0 && outcome.done,
                         typist.readAllStandardError().constData());
            }
            QVERIFY2(outcome.messages.isEmpty(), qPrintable(outcome.messages.join(u'\n')));

            const QString context = QStringLiteral("round %1, killed after %2 ms, %3 keystrokes reported")
                                        .arg(round).arg(delay).arg(outcome.typed);
            qInfo("%s", qPrintable(context));
            if (!QFile::exists(storePath()))
                continue; // killed before the store was made
            QCOMPARE(FaultKit::integrityOf(storePath()), QStringLiteral("ok"));
            const QString note = FaultKit::storedValue(storePath(), NoteKey::text("August", "2021", cell))
                                     .value_or(QString());
            QVERIFY2(text.startsWith(note), qPrintable(context));
            QVERIFY2(note.size() >= outcome.typed, qPrintable(context + QStringLiteral(", %1 stored").arg(note.size())));
            QVERIFY2(note.size() <= outcome.typed + 1, qPrintable(context));
            const auto color = FaultKit::storedValue(storePath(), NoteKey::color("August", "2021", cell));
            QVERIFY(!color || *color == QStringLiteral("0"));
            for (auto earlier = kept.cbegin(); earlier != kept.cend(); ++earlier) {
                QCOMPARE(FaultKit::storedValue(storePath(), NoteKey::text("August", "2021", earlier.key()))
                             .value_or(QString()),
                         earlier.value());
            }
            kept.insert(cell, note);
        }

        // After all the kills the planner starts and stores as usual.
        typeToTheEnd(20, QStringLiteral("fine"));
        QCOMPARE(FaultKit::integrityOf(storePath()), QStringLiteral("ok"));
        for (auto earlier = kept.cbegin(); earlier != kept.cend(); ++earlier) {
            QCOMPARE(FaultKit::storedValue(storePath(), NoteKey::text("August", "2021", earlier.key()))
                         .value_or(QString()),
                     earlier.value());
        }
    }
};

QTEST_GUILESS_MAIN(CrashTest)
#include "tst_crash.moc"
