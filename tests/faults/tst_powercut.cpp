// SPDX-License-Identifier: GPL-3.0-or-later
#include "FaultKit.h"
#include "PowerCutVfs.h"

#include "calendar/WindowDesign.h"
#include "notes/NoteImport.h"
#include "notes/NoteKey.h"
#include "platform/Failure.h"
#include "settings/SafetyCopies.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFile.h"
#include "settings/StoreRestore.h"
#include "sync/SyncState.h"

#include <QDir>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using PowerCutVfs::Loss;
using Values = std::map<QString, QString>;
Q_DECLARE_METATYPE(PowerCutVfs::Loss)

namespace {

enum class Operation { Restore, SafetyCopy, Import, SyncRecords };

const QDate Day(2026, 12, 8);

// A seed of its own per run, printed; POWERCUT_SEED repeats a run.
quint32 seedOfRun()
{
    bool given = false;
    const quint32 seed = qEnvironmentVariableIntValue("POWERCUT_SEED", &given);
    return given ? seed : QRandomGenerator::global()->generate();
}

// Cuts the power at chosen writes: at every write when oneIn is 1, else at
// one write to the log in oneIn and at every other write (a checkpoint, the
// making of the store). Each cut leaves a copy of the store's folder as the
// disk would hold it then, kept until it is checked.
class Cuts
{
public:
    Cuts(const QString &storeFolder, Loss loss, int oneIn, quint32 seed)
        : m_random(seed)
    {
        PowerCutVfs::setObserver([=, this](const QString &file) {
            if (m_checking)
                return;
            ++m_writes;
            if (file.endsWith(QLatin1String("-wal")) && oneIn > 1 && m_random.bounded(oneIn) != 0)
                return;
            const QString copy = m_copies.filePath(QString::number(++m_tried));
            PowerCutVfs::powerCutCopy(storeFolder, copy, loss, m_random);
            m_waiting << copy;
        });
    }
    ~Cuts() { PowerCutVfs::setObserver({}); }

    // Calls check with the folder of every copy made since the last call;
    // the writes of the checks themselves are not cut.
    template<typename Check>
    void checkCopies(Check check)
    {
        m_checking = true;
        for (const QString &copy : std::exchange(m_waiting, {})) {
            check(copy);
            QDir(copy).removeRecursively();
            if (QTest::currentTestFailed())
                break;
        }
        m_checking = false;
    }
    int tried() const { return m_tried; }
    int writes() const { return m_writes; }

private:
    QTemporaryDir m_copies;
    QRandomGenerator m_random;
    QStringList m_waiting;
    int m_tried = 0;
    int m_writes = 0;
    bool m_checking = false;
};

Values valuesOf(const QString &storePath)
{
    Values values;
    StoreFile(storePath, StoreFile::Access::ReadOnly).readValues([&](const QString &key, const QString &value) {
        values[key] = value;
    });
    return values;
}

QString describe(const Values &values)
{
    QStringList entries;
    for (const auto &[key, value] : values)
        entries << key + u'=' + value.left(12) + QStringLiteral("…(") + QString::number(value.size()) + u')';
    return entries.join(QStringLiteral(", "));
}

// The store as the planner's next start finds it: opened by the store's own
// code (which recovers its log), sound, and holding exactly one of allowed.
void checkStore(const QString &storePath, const std::vector<Values> &allowed)
{
    try {
        SettingsStore(storePath).read(Settings::Application, Settings::Section, Settings::YearOfPanel1Key);
        QCOMPARE(FaultKit::integrityOf(storePath), QStringLiteral("ok"));
        const Values found = valuesOf(storePath);
        QVERIFY2(std::find(allowed.begin(), allowed.end(), found) != allowed.end(),
                 qPrintable(QStringLiteral("found: ") + describe(found) + QStringLiteral("\nexpected: ") +
                            describe(allowed.back())));
    } catch (const Failure &failure) {
        QFAIL(qPrintable(failure.description()));
    }
}

// What typing stores: at every keystroke the whole text of the box, then its
// colour. Each note starts with a pasted text longer than a page.
std::vector<std::pair<QString, QString>> typingSequence(int keystrokes)
{
    const QString line = QString::fromUtf8("Zahnarzt 9:30 — ça va? 東京 Смирнов\n");
    constexpr int KeystrokesPerNote = 100;
    std::vector<std::pair<QString, QString>> writes;
    QString text;
    for (int i = 0; i < keystrokes; ++i) {
        const int cell = 1 + i / KeystrokesPerNote % WindowDesign::CellCount;
        text = i % KeystrokesPerNote == 0 ? line.repeated(120) : text + line.at(i % line.size());
        writes.emplace_back(NoteKey::text(QStringLiteral("August"), QStringLiteral("2021"), cell), text);
        writes.emplace_back(NoteKey::color(QStringLiteral("August"), QStringLiteral("2021"), cell),
                            QString::number(0xFF << (8 * (i / 30 % 3))));
    }
    return writes;
}

Values fill(const QString &storePath, const QString &word, int notes)
{
    QDir().mkpath(QFileInfo(storePath).absolutePath());
    SettingsStore store(storePath);
    Values values;
    for (int i = 1; i <= notes; ++i) {
        const QString key = NoteKey::text(QStringLiteral("May"), QStringLiteral("2024"), i);
        values[key] = word.repeated(100) + QString::number(i);
        store.save(Settings::Application, Settings::Section, key, values[key]);
    }
    return values;
}

// The store after an import of entries: what the import's dry run reports.
Values imported(const QString &storePath, const QList<Note> &entries)
{
    Values values = valuesOf(storePath);
    for (const NoteImport::Change &change : NoteImport::apply(storePath, entries, true)) {
        values[change.note.key] = change.note.text;
        if (!change.note.color.isEmpty())
            values[NoteKey::colorOf(change.note.key)] = change.note.color;
    }
    return values;
}

// Entries added below 20 notes of the store and 20 new notes with a colour.
QList<Note> importedEntries()
{
    QList<Note> entries;
    for (int i = 1; i <= 20; ++i) {
        entries << *Note::fromKey(NoteKey::text(QStringLiteral("May"), QStringLiteral("2024"), i),
                                  QStringLiteral("from the calendar %1").arg(i));
        entries << *Note::fromKey(NoteKey::text(QStringLiteral("June"), QStringLiteral("2024"), i),
                                  QStringLiteral("imported ").repeated(50), QStringLiteral("255"));
    }
    return entries;
}

// Every record of the sync state, read as the next pass reads it.
Values recordsOf(const QString &statePath)
{
    SyncState state(statePath);
    Values records;
    const auto entries = state.entries();
    for (auto it = entries.begin(); it != entries.end(); ++it)
        records[QStringLiteral("entry ") + it.key()] = it->href + u' ' + it->etag + u' ' + (it->base ? it->base->text : QString());
    const auto absorbed = state.absorbed();
    for (auto it = absorbed.begin(); it != absorbed.end(); ++it)
        records[QStringLiteral("absorbed ") + it.key()] = it.value();
    for (const QString &name : {QStringLiteral("sync-token"), QStringLiteral("last-pass")})
        records[name] = state.value(name);
    return records;
}

// What a pass records, one write at a time: a newer ETag for each of 15
// notes, entries of other programs taken in, then the token and the pass.
void recordPass(SyncState &state, const QString &version)
{
    for (int i = 1; i <= 15; ++i) {
        const QString key = NoteKey::text(QStringLiteral("May"), QStringLiteral("2024"), i);
        state.setEntry(key, {.href = QStringLiteral("/notes/%1.ics").arg(i), .etag = version + QString::number(i), .base = Note::fromKey(key, version)});
    }
    for (int i = 1; i <= 5; ++i)
        state.setAbsorbed(QStringLiteral("/notes/other-%1.ics").arg(i), version);
    state.setValue(QStringLiteral("sync-token"), QStringLiteral("token-") + version);
    state.setValue(QStringLiteral("last-pass"), QStringLiteral("2026-12-08T12:00:0") + version.right(1));
}

// Cuts at every write of a second pass recorded over a first: after each
// write returned, the sync state is sound and either as before it or after.
void recordAgreements(Cuts &cuts, const QString &storePath, const Values &store)
{
    const QString statePath = SyncState::pathBeside(storePath);
    Values before = recordsOf(statePath);
    SyncState state(statePath);
    auto record = [&](auto write) {
        write();
        const Values after = recordsOf(statePath);
        cuts.checkCopies([&](const QString &copy) {
            const QString copied = copy + u'/' + QFileInfo(statePath).fileName();
            const Values found = recordsOf(copied);
            QCOMPARE(FaultKit::integrityOf(copied), QStringLiteral("ok"));
            QVERIFY2(found == before || found == after, qPrintable(QStringLiteral("found: ") + describe(found)));
            checkStore(copy + QStringLiteral("/settings.sqlite3"), {store});
        });
        before = after;
    };
    for (int i = 1; i <= 15 && !QTest::currentTestFailed(); ++i) {
        const QString key = NoteKey::text(QStringLiteral("May"), QStringLiteral("2024"), i);
        record([&] { state.setEntry(key, {.href = QStringLiteral("/notes/%1.ics").arg(i), .etag = QStringLiteral("second") + QString::number(i), .base = Note::fromKey(key, key)}); });
    }
    record([&] { state.setAbsorbed(QStringLiteral("/notes/other-6.ics"), QStringLiteral("second")); });
    record([&] { state.setValue(QStringLiteral("sync-token"), QStringLiteral("token-second")); });
    record([&] { state.setValue(QStringLiteral("last-pass"), QStringLiteral("2026-12-08T12:00:02")); });
}

} // namespace

Q_DECLARE_METATYPE(Operation)

// A power cut at any write: SQLite's own view of the disk, through a VFS that
// loses what was not synced, instead of a killed process whose writes the
// kernel still holds.
class PowerCutTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { PowerCutVfs::install(); }

    // Every keystroke that had returned is there with its exact value; at most
    // the one in progress is missing, and the store is sound at every cut.
    void typing_data()
    {
        QTest::addColumn<Loss>("loss");
        QTest::addColumn<int>("keystrokes");
        QTest::addColumn<int>("oneIn");
        QTest::newRow("every write, the unsynced lost") << Loss::AllUnsynced << 130 << 1;
        QTest::newRow("every write, a torn part kept") << Loss::RandomSubset << 130 << 1;
        QTest::newRow("random writes of a long run") << Loss::RandomSubset << 1200 << 60;
    }
    void typing()
    {
        QFETCH(Loss, loss);
        QFETCH(int, keystrokes);
        QFETCH(int, oneIn);
        const quint32 seed = seedOfRun();
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("Quillmere"));
        Settings::useStoreAt(folder + QStringLiteral("/settings.sqlite3"));
        const auto closeStore = qScopeGuard([] { Settings::useStoreAt({}); });

        Cuts cuts(folder, loss, oneIn, seed);
        Values before;
        for (const auto &[key, value] : typingSequence(keystrokes)) {
            SaveSetting(Settings::Application, Settings::Section, key, value);
            Values after = before;
            after[key] = value;
            cuts.checkCopies([&](const QString &copy) {
                checkStore(copy + QStringLiteral("/settings.sqlite3"), {before, after});
            });
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("at cut %1, seed %2").arg(cuts.tried()).arg(seed)));
            before = std::move(after);
        }
        if (oneIn == 1)
            QVERIFY(cuts.writes() >= 1000);
        qInfo("%d cut points of %d writes, seed %u: no store lost", cuts.tried(), cuts.writes(),
              seed);
    }

    // At every cut the store is the old one or the new one, never a mix, and
    // every copy made beside it that has its name is sound and whole.
    void copies_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<Loss>("loss");
        QTest::newRow("restore, the unsynced lost") << Operation::Restore << Loss::AllUnsynced;
        QTest::newRow("restore, a torn part kept") << Operation::Restore << Loss::RandomSubset;
        QTest::newRow("safety copy, the unsynced lost") << Operation::SafetyCopy << Loss::AllUnsynced;
        QTest::newRow("safety copy, a torn part kept") << Operation::SafetyCopy << Loss::RandomSubset;
        QTest::newRow("import, the unsynced lost") << Operation::Import << Loss::AllUnsynced;
        QTest::newRow("import, a torn part kept") << Operation::Import << Loss::RandomSubset;
        QTest::newRow("sync state, the unsynced lost") << Operation::SyncRecords << Loss::AllUnsynced;
        QTest::newRow("sync state, a torn part kept") << Operation::SyncRecords << Loss::RandomSubset;
    }
    void copies()
    {
        QFETCH(Operation, operation);
        QFETCH(Loss, loss);
        const quint32 seed = seedOfRun();
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("Quillmere"));
        const QString store = folder + QStringLiteral("/settings.sqlite3");
        const QString backup = home.filePath(QStringLiteral("backup/notes.sqlite3"));
        const Values old = fill(store, QStringLiteral("old "), 60);
        const Values restored = fill(backup, QStringLiteral("new text "), 90);
        const QList<Note> entries = importedEntries();
        const Values afterImport = imported(store, entries);
        if (operation == Operation::SyncRecords) {
            SyncState first(SyncState::pathBeside(store));
            recordPass(first, QStringLiteral("first"));
        }

        Cuts cuts(folder, loss, 1, seed);
        try {
            if (operation == Operation::Restore)
                StoreRestore::restore(backup, store, QDateTime(Day, QTime(12, 0), Qt::UTC), false);
            else if (operation == Operation::SafetyCopy)
                QVERIFY(SafetyCopies::makeDailyCopy(store, Day));
            else if (operation == Operation::Import)
                NoteImport::apply(store, entries, false);
            else
                recordAgreements(cuts, store, old);
        } catch (const Failure &failure) {
            QFAIL(qPrintable(failure.description()));
        }
        QCOMPARE(valuesOf(store), operation == Operation::Restore  ? restored
                                  : operation == Operation::Import ? afterImport
                                                                   : old);
        const std::vector<Values> allowed = operation == Operation::Restore ? std::vector<Values>{old, restored}
                                            : operation == Operation::Import ? std::vector<Values>{old, afterImport}
                                                                             : std::vector<Values>{old};
        cuts.checkCopies([&](const QString &copy) {
            const QStringList kept = QDir(copy).entryList({QStringLiteral("*.bak"), QStringLiteral("*.before-restore-*")});
            for (const QString &name : kept) {
                if (name.contains(QStringLiteral(".part-")))
                    continue; // a copy cut short keeps its temporary name
                QCOMPARE(FaultKit::integrityOf(copy + u'/' + name), QStringLiteral("ok"));
                QVERIFY(valuesOf(copy + u'/' + name) == old);
            }
            checkStore(copy + QStringLiteral("/settings.sqlite3"), allowed);
        });
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("seed %1").arg(seed)));
        QVERIFY(cuts.tried() > 0);
        qInfo("%d cut points, seed %u: no store lost", cuts.tried(), seed);
    }
};

QTEST_GUILESS_MAIN(PowerCutTest)
#include "tst_powercut.moc"
