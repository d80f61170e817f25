// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteJournal.h"
#include "notes/NoteKey.h"
#include "notes/NoteStore.h"
#include "notes/TextMerge.h"
#include "platform/Failure.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StoreFile.h"
#include "settings/StoreRestore.h"
#include "sync/MemoryCollection.h"
#include "sync/SyncPass.h"
#include "sync/SyncState.h"

#include <QDir>
#include <QFile>
#include <QHashFunctions>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <functional>
#include <utility>
#include <memory>
#include <optional>
#include <vector>

namespace {

const QDateTime Now(QDate(2026, 1, 1), QTime(12, 0), QTimeZone::utc());
constexpr int Machines = 3;
constexpr int Days = 6;
const QStringList OtherKeys{Settings::YearOfPanel1Key, Settings::YearOfPanel2Key, Settings::NoteColorKey};
const QRegularExpression Token(QStringLiteral("\\bw\\d+\\b"));

// The key of a day in the model's month, as a window in language builds it.
QString keyOf(int day, const QLocale &language = QLocale(QLocale::English))
{
    return NoteKey::forDay(QDate(2024, 5, day + 1), language);
}

struct Cut // the pass is killed
{
};

// The collection as a pass sees it, with what goes wrong on the way: before
// every request a hook may act (the planner types, a phone writes, the pass
// is cut off), and a fetch may leave out an entry, as a 404 inside a
// multiget answer does. A pass killed while the server reads its upload
// leaves that upload held: the server stores it just after the machine's
// next pass has listed the changes, so that pass learns of it only when its
// own upload of the note meets it.
class TroubledCollection : public Collection
{
public:
    TroubledCollection(MemoryCollection &server, QList<PutRequest> &held) : m_server(server), m_held(held) {}

    std::function<void(int request)> beforeRequest;
    bool dropOneFetched = false;
    bool refuseOnePut = false; // as a server refuses one entry (HTTP 413, 403)
    int holdPutAt = -1;        // the request whose upload is held as the pass is killed
    qsizetype lastListingSize = 0;
    bool storedHeld = false;

    Changes changesSince(const QString &token) override
    {
        act();
        Changes changes = m_server.changesSince(token);
        lastListingSize = changes.etags.size() + changes.removed.size();
        for (const PutRequest &request : std::exchange(m_held, {}))
            storedHeld = m_server.put(request.href, request.data, request.etag).outcome == Put::Stored || storedHeld;
        return changes;
    }
    QList<Entry> fetch(const QStringList &hrefs) override
    {
        act();
        QList<Entry> entries = m_server.fetch(hrefs);
        if (dropOneFetched && !entries.isEmpty())
            entries.removeLast();
        return entries;
    }
    Put put(const QString &href, const QByteArray &data, const QString &etag) override
    {
        if (m_requests == holdPutAt) {
            m_held << PutRequest{href, data, etag};
            throw Cut{};
        }
        act();
        if (std::exchange(refuseOnePut, false))
            return {Put::Refused, {}, QStringLiteral("HTTP 413")};
        return m_server.put(href, data, etag);
    }
    Put removeEntry(const QString &href, const QString &etag) override
    {
        act();
        return m_server.removeEntry(href, etag);
    }
    QString hrefFor(const QString &fileName) const override { return m_server.hrefFor(fileName); }
    int requestCount() const override { return m_requests; }

private:
    void act()
    {
        if (beforeRequest)
            beforeRequest(m_requests);
        ++m_requests;
    }

    MemoryCollection &m_server;
    QList<PutRequest> &m_held;
    int m_requests = 0;
};

// Random edits of a note's text, as a user makes them, each adding a word
// never seen before ("w17") or taking words or lines away.
class Typist
{
public:
    Typist(QRandomGenerator &random, QSet<QString> &typed, QSet<QString> &deleted, QSet<QString> &copyKept)
        : m_random(random), m_typed(typed), m_deleted(deleted), m_copyKept(copyKept)
    {
    }

    QString edit(const QString &text)
    {
        const QList<QRegularExpressionMatch> words = matches(text);
        const int kind = int(m_random.bounded(10));
        if (kind < 2 && !words.isEmpty())
            return deleted(removeWord(text, words.at(int(m_random.bounded(words.size())))));
        if (kind == 2 && text.contains(u'\n'))
            return deleted(removeLine(text));
        const QString word = fresh();
        if (text.isEmpty())
            return word;
        if (kind < 5) { // a new line
            const QStringList lines = text.split(u'\n');
            QStringList changed = lines;
            changed.insert(int(m_random.bounded(lines.size() + 1)), word);
            return changed.join(u'\n');
        }
        if (words.isEmpty())
            return text + u' ' + word;
        const auto &at = words.at(int(m_random.bounded(words.size())));
        return m_random.bounded(2) ? text.left(at.capturedEnd()) + u' ' + word + text.mid(at.capturedEnd())
                                   : text.left(at.capturedStart()) + word + u' ' + text.mid(at.capturedStart());
    }

    QString fresh()
    {
        const QString word = QStringLiteral("w%1").arg(++m_count);
        m_typed.insert(word);
        return word;
    }

private:
    static QList<QRegularExpressionMatch> matches(const QString &text)
    {
        QList<QRegularExpressionMatch> found;
        for (const auto &match : Token.globalMatch(text))
            found << match;
        return found;
    }
    // A word taken out is deleted; when a copy of it stays (a conflict kept
    // both versions of its line), that copy may stay in the end too.
    QString deleted(const QString &result)
    {
        for (const QString &word : std::as_const(m_removed)) {
            m_deleted.insert(word);
            if (result.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(word))))
                m_copyKept.insert(word);
        }
        m_removed.clear();
        return result;
    }
    QString removeWord(const QString &text, const QRegularExpressionMatch &word)
    {
        m_removed.insert(word.captured());
        qsizetype from = word.capturedStart(), to = word.capturedEnd();
        if (to < text.size() && text.at(to) == u' ')
            ++to;
        else if (from > 0 && text.at(from - 1) == u' ')
            --from;
        return text.left(from) + text.mid(to);
    }
    QString removeLine(const QString &text)
    {
        QStringList lines = text.split(u'\n');
        const int index = int(m_random.bounded(lines.size()));
        for (const auto &match : Token.globalMatch(lines.at(index)))
            m_removed.insert(match.captured());
        lines.removeAt(index);
        return lines.join(u'\n');
    }

    QRandomGenerator &m_random;
    QSet<QString> &m_typed;
    QSet<QString> &m_deleted;
    QSet<QString> &m_copyKept;
    QSet<QString> m_removed; // taken out by the edit under way
    int m_count = 0;
};

struct Machine
{
    QLocale language; // of its window: its keys carry the month's name in it
    QString folder;
    QString store;
    QString state;
    std::unique_ptr<SettingsStore> planner; // what the window writes with
    QString snapshot;                       // a copy of the store, for a restore
    QSet<QString> snapshotWords;
    NoteJournal::Form form = NoteJournal::Form::Journal; // what its passes write
    QList<Collection::PutRequest> held; // the upload of its killed pass that the server stores later

    void type(const QString &key, const QString &text, QRandomGenerator &random)
    {
        planner->save(Settings::Application, Settings::Section, key, text);
        static const QStringList colors{QStringLiteral("0"), QStringLiteral("255"), QStringLiteral("16711680")};
        planner->save(Settings::Application, Settings::Section, NoteKey::colorOf(key), colors.at(int(random.bounded(3))));
    }
    QString note(const QString &key) const
    {
        return planner->read(Settings::Application, Settings::Section, key).value_or(QString());
    }
    QString keyOf(int day) const { return ::keyOf(day, language); }
    QString noteOf(int day) const { return note(keyOf(day)); }
    // The day of the upload the server holds back; -1 when none.
    int heldDay() const { return held.isEmpty() ? -1 : NoteJournal::parse(held.first().data).value(0).day.day() - 1; }
};

} // namespace

// Sync's rules, driven at random against a collection in memory: three
// machines type, a phone edits entries, passes are cut off at any request,
// killed (also while the server still stores an upload), raced by other
// writers and handed incomplete answers, stores are restored from copies,
// entries are removed or damaged on the server. A machine's own uploads
// never conflict with each other. After every quiet round all agree, every
// word typed that nobody deleted is there, once unless a conflict kept both
// versions of its line, nothing deleted comes back without a conflict or a
// restore, and no key but the notes' was touched. One machine's window is in
// German: it keeps every day under its own key ("Mai_2024_txtNote_0") and
// shares the day's one entry with the others. MODEL_SEED repeats a run;
// MODEL_STEPS sets its length.
class SyncModelTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomSteps();

private:
    void step();
    void typeOn(Machine &machine, std::optional<int> day = std::nullopt);
    void phoneEdit();
    void pass(Machine &machine);
    SyncPass::Summary runPass(Machine &machine, TroubledCollection &collection);
    void restore(Machine &machine);
    void damageOrRemove();
    void quietRound();
    void checkAgreement();
    void checkNothingLost();
    QSet<QString> wordsPresent();
    QString serverText(const QString &key) const;

    quint32 m_seed = 0;
    int m_steps = 10000;
    QRandomGenerator m_random;
    std::unique_ptr<QTemporaryDir> m_folder;
    MemoryCollection m_server;
    std::vector<Machine> m_machines;
    QSet<QString> m_typed;
    QSet<QString> m_deleted;
    QSet<QString> m_resurrectable; // words a restore or a removal may bring back
    QSet<QString> m_copyKept;      // deleted words of which a copy was left
    QSet<QString> m_conflicted;    // words that were in a note with a conflict
    QSet<QString> m_damaged;       // hrefs whose entry is no readable entry
    std::unique_ptr<Typist> m_typist;
    int m_step = 0;
};

void SyncModelTest::initTestCase()
{
    QHashSeed::setDeterministicGlobalSeed(); // the same order of hashes in every run of a seed
    m_seed = qEnvironmentVariableIsSet("MODEL_SEED") ? qEnvironmentVariable("MODEL_SEED").toUInt()
                                                     : QRandomGenerator::global()->generate();
    if (qEnvironmentVariableIsSet("MODEL_STEPS"))
        m_steps = qEnvironmentVariableIntValue("MODEL_STEPS");
    qInfo("MODEL_SEED=%u MODEL_STEPS=%d", m_seed, m_steps);
    m_random.seed(m_seed);
    // On a memory file system where there is one: the stores sync every write.
    const QString base = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    m_folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/tavorin-sync-model-XXXXXX"));
    QVERIFY(m_folder->isValid());
    m_typist = std::make_unique<Typist>(m_random, m_typed, m_deleted, m_copyKept);
    for (int i = 0; i < Machines; ++i) {
        Machine machine;
        // The last machine's window is in German: "Mai_2024_txtNote_0" is its key of 1 May.
        machine.language = QLocale(i == Machines - 1 ? QLocale::German : QLocale::English);
        machine.folder = m_folder->filePath(QStringLiteral("machine%1").arg(i));
        QVERIFY(QDir().mkpath(machine.folder));
        QFile::setPermissions(machine.folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        machine.store = machine.folder + QStringLiteral("/settings.sqlite3");
        machine.state = SyncState::pathBeside(machine.store);
        machine.planner = std::make_unique<SettingsStore>(machine.store);
        if (i == Machines - 1) // one machine writes the notes as events, the others as journal entries
            machine.form = NoteJournal::Form::Event;
        for (const QString &key : OtherKeys)
            machine.planner->save(Settings::Application, Settings::Section, key, QStringLiteral("kept ") + key);
        m_machines.push_back(std::move(machine));
    }
    // A hostile server's entries naming the window's other settings, with
    // colours no window stores: never written to a store (checkAgreement),
    // never keeping the token back (quietRound).
    for (const QString &key : OtherKeys + QStringList{QStringLiteral("x'); DROP TABLE settings;--")}) {
        m_server.write(m_server.hrefFor(QString::fromLatin1(key.toUtf8().toHex()) + QStringLiteral(".ics")),
                       "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VJOURNAL\r\nUID:" + key.toUtf8() + "\r\nDTSTAMP:20260101T000000Z\r\n"
                       "DESCRIPTION:abc\r\nX-TAVORIN-KEY:" + key.toUtf8() + "\r\nX-TAVORIN-COLOR:99999999999\r\n"
                       "END:VJOURNAL\r\nEND:VCALENDAR\r\n");
    }
}

void SyncModelTest::randomSteps()
{
    for (m_step = 1; m_step <= m_steps; ++m_step) {
        step();
        if (qEnvironmentVariableIsSet("MODEL_WATCH")) {
            const QRegularExpression watched(QStringLiteral("\\b%1\\b").arg(qEnvironmentVariable("MODEL_WATCH")));
            QStringList where;
            for (int day = 0; day < Days; ++day) {
                if (serverText(keyOf(day)).contains(watched))
                    where << QStringLiteral("server:%1").arg(day);
                for (size_t m = 0; m < m_machines.size(); ++m) {
                    if (m_machines[m].noteOf(day).contains(watched))
                        where << QStringLiteral("m%1:%2").arg(m).arg(day);
                }
            }
            qInfo("  watch %s deleted=%d resurrectable=%d", qPrintable(where.join(u' ')), m_deleted.contains(qEnvironmentVariable("MODEL_WATCH")), m_resurrectable.contains(qEnvironmentVariable("MODEL_WATCH")));
        }
        checkNothingLost();
        if (m_step % 250 == 0 || m_step == m_steps)
            quietRound();
        if (QTest::currentTestFailed()) {
            qWarning("failed at step %d of MODEL_SEED=%u", m_step, m_seed);
            return;
        }
    }
}

void SyncModelTest::step()
{
    const size_t index = size_t(m_random.bounded(Machines));
    Machine &machine = m_machines[index];
    const int kind = int(m_random.bounded(100));
    if (qEnvironmentVariableIsSet("MODEL_TRACE"))
        qInfo("step %d: machine %d, kind %d", m_step, int(index), kind);
    if (kind < 45)
        typeOn(machine);
    else if (kind < 55)
        phoneEdit();
    else if (kind < 92)
        pass(machine);
    else if (kind < 95)
        restore(machine);
    else
        damageOrRemove();
}

void SyncModelTest::typeOn(Machine &machine, std::optional<int> day)
{
    const QString key = machine.keyOf(day.value_or(int(m_random.bounded(Days))));
    const QString before = machine.note(key);
    machine.type(key, m_typist->edit(before), m_random);
    if (qEnvironmentVariableIsSet("MODEL_TRACE"))
        qInfo("  typed %s: [%s] -> [%s]", qPrintable(key), qPrintable(before), qPrintable(machine.note(key)));
}

QString SyncModelTest::serverText(const QString &key) const
{
    const QByteArray data = m_server.contents().value(m_server.hrefFor(NoteJournal::fileNameFor(key)));
    try {
        for (const NoteJournal::Entry &entry : NoteJournal::parse(data))
            return entry.textOver(QString());
    } catch (const Failure &) {
    }
    return QString();
}

// The first line that is not blank, as a title.
QString titleOf(const QString &text)
{
    for (const QString &line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    }
    return QString();
}

// A phone edits one of our entries as calendar apps do: the description (and
// its title with it), or only the title, over the ETag it read, keeping the
// properties it does not know. What it does counts only when the server took it.
void SyncModelTest::phoneEdit()
{
    const QString key = keyOf(int(m_random.bounded(Days)));
    const QString href = m_server.hrefFor(NoteJournal::fileNameFor(key));
    const QList<Collection::Entry> found = m_server.fetch({href});
    if (found.isEmpty() || m_damaged.contains(href))
        return;
    const NoteJournal::Entry entry = NoteJournal::parse(found.first().data).value(0);
    const QString before = entry.textOver(QString());
    const QSet<QString> typed = m_typed, deleted = m_deleted;
    QByteArray data;
    const QString title = titleOf(before);
    if (m_random.bounded(4) == 0 && !title.isEmpty()) { // only the title
        data = NoteJournal::calendarText(*Note::fromKey(key, before), Now, entry.versions);
        const QByteArray line = "\r\nSUMMARY:" + title.toUtf8() + "\r\n";
        if (!data.contains(line))
            return; // folded: not worth the trouble here
        const QString fresh = m_typist->fresh();
        data.replace(line, "\r\nSUMMARY:" + fresh.toUtf8() + "\r\n");
        const QString after = NoteJournal::parse(data).value(0).textOver(QString());
        for (const auto &match : Token.globalMatch(title)) {
            m_deleted.insert(match.captured());
            if (after.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(match.captured()))))
                m_copyKept.insert(match.captured());
        }
    } else {
        data = NoteJournal::calendarText(*Note::fromKey(key, m_typist->edit(before)), Now, entry.versions);
    }
    const bool stored = m_server.put(href, data, found.first().etag).outcome == Collection::Put::Stored;
    if (qEnvironmentVariableIsSet("MODEL_TRACE"))
        qInfo("  phone %s: [%s] -> [%s] %s", qPrintable(key), qPrintable(before), qPrintable(serverText(key)), stored ? "stored" : "refused");
    if (!stored) {
        m_typed = typed;
        m_deleted = deleted;
    }
}

SyncPass::Summary SyncModelTest::runPass(Machine &machine, TroubledCollection &collection)
{
    SyncState state(machine.state);
    NoteStore store(machine.store);
    SyncPass syncPass(collection, state, store);
    syncPass.setLanguage(machine.language);
    syncPass.setCalendar({machine.form, true});
    const SyncPass::Summary summary = syncPass.run(false, Now);
    if (qEnvironmentVariableIsSet("MODEL_TRACE"))
        qInfo("  pass: %s | %s", qPrintable(summary.changes.join(u',')), qPrintable(summary.problems.join(u',')));
    return summary;
}

// A pass, often troubled: cut off by a network failure or killed (which
// loses what the sync state had not committed), with the planner typing or
// a phone writing in the middle of it, or an entry missing from an answer.
void SyncModelTest::pass(Machine &machine)
{
    TroubledCollection collection(m_server, machine.held);
    const int trouble = int(m_random.bounded(10));
    const int at = int(m_random.bounded(8));
    if (trouble == 0)
        collection.beforeRequest = [at](int request) { if (request == at) throw SyncFailure{SyncFailure::Network, {}}; };
    else if (trouble == 1)
        collection.beforeRequest = [at](int request) { if (request == at) throw Cut{}; };
    else if (trouble == 2)
        collection.beforeRequest = [&, at](int request) { if (request == at) typeOn(machine); };
    else if (trouble == 3)
        collection.beforeRequest = [&, at](int request) { if (request == at) phoneEdit(); };
    else if (trouble == 4)
        collection.dropOneFetched = true;
    else if (trouble == 5)
        collection.refuseOnePut = true;
    else if (trouble == 6)
        collection.holdPutAt = at;
    // The note of a held upload, with its conflicts before this pass stores it.
    const int heldDay = machine.heldDay();
    const qsizetype heldConflicts = heldDay >= 0 ? machine.noteOf(heldDay).count(TextMerge::ConflictLine) : 0;
    QMap<QString, QString> damagedNotes; // a damaged entry changes no note
    for (int day = 0; day < Days; ++day) {
        if (m_damaged.contains(m_server.hrefFor(NoteJournal::fileNameFor(keyOf(day)))))
            damagedNotes.insert(machine.keyOf(day), machine.noteOf(day));
    }
    if (qEnvironmentVariableIsSet("MODEL_TRACE"))
        qInfo("  pass, trouble %d at %d", trouble, at);
    try {
        runPass(machine, collection);
        if (trouble > 6 && !collection.storedHeld) { // untroubled: the token kept lists nothing the pass did itself
            SyncState state(machine.state);
            QCOMPARE(m_server.changesSince(state.value(QStringLiteral("sync-token"))).etags.size(), 0);
        }
    } catch (const Cut &) {
        // killed: what the sync state had not committed is lost
    } catch (const SyncFailure &) {
        // the network went away: the pass stopped and said so
    }
    // What a damaged entry says never takes anything away from a note.
    if (trouble != 2) {
        for (auto it = damagedNotes.cbegin(); it != damagedNotes.cend(); ++it) {
            const QString after = machine.note(it.key());
            for (const auto &word : Token.globalMatch(it.value()))
                QVERIFY2(after.contains(word.captured()), qPrintable(it.key() + QStringLiteral(" lost ") + word.captured()));
        }
    }
    // Nobody but this machine wrote the note since the held upload: the
    // upload comes from what the server now has, and merges without a conflict.
    if (collection.storedHeld && heldDay >= 0 && trouble != 3)
        QVERIFY2(machine.noteOf(heldDay).count(TextMerge::ConflictLine) <= heldConflicts,
                 qPrintable(QStringLiteral("a conflict with its own upload: ") + machine.noteOf(heldDay)));
    // The user goes on typing in the note whose upload the server holds.
    if (trouble == 6 && machine.heldDay() >= 0)
        typeOn(machine, machine.heldDay());
}

// Brings back a copy of the store taken at an earlier restore step, after a
// pass has sent everything typed here, as a user restoring a backup would
// after having synced; the next copy is taken now.
void SyncModelTest::restore(Machine &machine)
{
    TroubledCollection collection(m_server, machine.held);
    runPass(machine, collection);
    {
        SyncState state(machine.state);
        NoteStore store(machine.store);
        if (!SyncPass::waitingKeys(state, store).isEmpty())
            return; // something typed here has not gone up (its entry is damaged): no user restores now
    }
    if (!machine.snapshot.isEmpty()) {
        SyncState(machine.state).markRestored();
        StoreRestore::restore(machine.snapshot, machine.store, Now.addSecs(m_step), true);
        m_resurrectable.unite(machine.snapshotWords);
        // The user chose to go back: what was nowhere else (its entry damaged) went with it.
        const QSet<QString> present = wordsPresent();
        for (const QString &word : std::as_const(m_typed)) {
            if (!present.contains(word))
                m_deleted.insert(word);
        }
    }
    machine.snapshot = machine.folder + QStringLiteral("/copy-%1.sqlite3").arg(m_step);
    StoreFile(machine.store, StoreFile::Access::ReadOnly).copyToNewFile(machine.snapshot);
    machine.snapshotWords.clear();
    for (int day = 0; day < Days; ++day) {
        for (const auto &match : Token.globalMatch(machine.noteOf(day)))
            machine.snapshotWords.insert(match.captured());
    }
}

// Another program removes one of our entries, or puts something no calendar
// app reads in its place (a cut-short text, a task). A damaged entry changes
// no note; the quiet round removes it, and the notes go up again.
void SyncModelTest::damageOrRemove()
{
    const int day = int(m_random.bounded(Days));
    const QString key = keyOf(day);
    const QString href = m_server.hrefFor(NoteJournal::fileNameFor(key));
    if (!m_server.contents().contains(href))
        return;
    // What only the entry held (a phone's edit no machine took yet) is gone with it.
    QString onMachines;
    for (const Machine &machine : m_machines)
        onMachines += machine.noteOf(day) + u'\n';
    for (const auto &match : Token.globalMatch(serverText(key))) {
        if (!onMachines.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(match.captured()))))
            m_deleted.insert(match.captured());
    }
    if (m_random.bounded(2)) {
        // The machines write the entry again from their notes, which may
        // still hold what was deleted elsewhere but not yet taken there.
        for (const auto &match : Token.globalMatch(onMachines))
            m_resurrectable.insert(match.captured());
        m_server.remove(href);
        if (qEnvironmentVariableIsSet("MODEL_TRACE"))
            qInfo("  removed %s", qPrintable(key));
        m_damaged.remove(href);
        return;
    }
    static const QList<QByteArray> damage{
        QByteArray(),
        QByteArrayLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VJOURNAL\r\nUID:x\r\nDESCRIPTION:cut"),
        QByteArrayLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:t\r\nSUMMARY:a task\r\nEND:VTODO\r\nEND:VCALENDAR\r\n")};
    m_server.write(href, damage.at(int(m_random.bounded(damage.size()))));
    m_damaged.insert(href);
    if (qEnvironmentVariableIsSet("MODEL_TRACE"))
        qInfo("  damaged %s", qPrintable(href));
}

// Passes on every machine, untroubled, until a whole round asks the server
// for nothing but its changes; a few rounds must do.
void SyncModelTest::quietRound()
{
    for (const QString &href : std::as_const(m_damaged)) {
        m_server.remove(href);
        for (const Machine &machine : m_machines) {
            for (int day = 0; day < Days; ++day) {
                if (m_server.hrefFor(NoteJournal::fileNameFor(keyOf(day))) != href)
                    continue;
                for (const auto &match : Token.globalMatch(machine.noteOf(day)))
                    m_resurrectable.insert(match.captured());
            }
        }
    }
    m_damaged.clear();
    bool quiet = false;
    for (int round = 0; round < 6 && !quiet; ++round) {
        quiet = true;
        for (Machine &machine : m_machines) {
            TroubledCollection collection(m_server, machine.held);
            const SyncPass::Summary summary = runPass(machine, collection);
            QVERIFY2(summary.problems.isEmpty(), qPrintable(summary.problems.join(u'\n')));
            quiet = quiet && collection.requestCount() == 1;
            if (qEnvironmentVariableIsSet("MODEL_TRACE"))
                qInfo("  quiet pass: %d requests", collection.requestCount());
        }
    }
    QVERIFY2(quiet, "no quiet round after six");
    checkAgreement();
    for (Machine &machine : m_machines) { // the tokens kept list nothing
        TroubledCollection collection(m_server, machine.held);
        runPass(machine, collection);
        QCOMPARE(collection.lastListingSize, 0);
    }
}

// Between quiet rounds a word may wait on one machine or on the server, but
// a word typed and not deleted is always somewhere.
QSet<QString> SyncModelTest::wordsPresent()
{
    QString everything;
    for (int day = 0; day < Days; ++day) {
        QStringList texts{serverText(keyOf(day))};
        for (const Machine &machine : m_machines)
            texts << machine.noteOf(day);
        for (const QString &text : std::as_const(texts)) {
            everything += text + u'\n';
            // Both versions of a conflict stay when the user takes the line between them away.
            if (text.contains(TextMerge::ConflictLine)) {
                for (const auto &match : Token.globalMatch(text))
                    m_conflicted.insert(match.captured());
            }
        }
    }
    QSet<QString> found;
    for (const auto &match : Token.globalMatch(everything))
        found.insert(match.captured());
    return found;
}

void SyncModelTest::checkNothingLost()
{
    const QSet<QString> found = wordsPresent();
    for (const QString &word : std::as_const(m_typed))
        QVERIFY2(m_deleted.contains(word) || found.contains(word), qPrintable(QStringLiteral("%1 was lost").arg(word)));
}

void SyncModelTest::checkAgreement()
{
    QHash<QString, int> count;
    wordsPresent(); // notes with conflicts now
    const QSet<QString> &conflicted = m_conflicted;
    for (int day = 0; day < Days; ++day) {
        const QString key = keyOf(day);
        const QString text = m_machines.front().noteOf(day);
        for (const Machine &machine : std::as_const(m_machines))
            QCOMPARE(machine.noteOf(day), text);
        QCOMPARE(serverText(key), text);
        for (const auto &match : Token.globalMatch(text))
            ++count[match.captured()];
    }
    for (const QString &word : std::as_const(m_typed)) {
        const int found = count.value(word);
        if (m_deleted.contains(word)) {
            QVERIFY2(found == 0 || conflicted.contains(word) || m_resurrectable.contains(word) || m_copyKept.contains(word),
                     qPrintable(QStringLiteral("%1, deleted, came back").arg(word)));
        } else {
            QVERIFY2(found >= 1, qPrintable(QStringLiteral("%1 was lost").arg(word)));
            QVERIFY2(found == 1 || conflicted.contains(word), qPrintable(QStringLiteral("%1 is there %2 times").arg(word).arg(found)));
        }
    }
    for (const Machine &machine : std::as_const(m_machines)) {
        for (const auto &[key, value] : machine.planner->readAll(Settings::Application, Settings::Section)) {
            QVERIFY2(NoteKey::isText(key) || NoteKey::isColor(key) || OtherKeys.contains(key), qPrintable(key));
            // Each machine keeps every day under the key of its own language.
            if (NoteKey::isText(key))
                QCOMPARE(key, machine.keyOf(NoteKey::parse(key)->day - 1));
            if (OtherKeys.contains(key))
                QCOMPARE(value, QStringLiteral("kept ") + key);
        }
    }
}

QTEST_GUILESS_MAIN(SyncModelTest)
#include "tst_sync_model.moc"
