// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncPass.h"

#include "notes/NoteJournal.h"
#include "notes/NoteStore.h"
#include "notes/TextMerge.h"
#include "platform/Failure.h"

#include <QCoreApplication>
#include <QLocale>
#include <QUuid>

#include <algorithm>
#include <utility>

namespace {

// Tries of a write that someone else's write keeps overtaking.
constexpr int PutAttempts = 5;
// Uploads sent at once.
constexpr qsizetype UploadBatch = 64;
// Notes new here stored in one transaction.
constexpr qsizetype DownloadBatch = 500;

const QString TokenName = QStringLiteral("sync-token");

QString tr(const char *text)
{
    return QCoreApplication::translate("SyncPass", text);
}

// The note's day for people ("6 March 2024"), or its key when it names none.
QString dayOf(const QString &key)
{
    const QDate date = NoteKey::parse(key).value_or(NoteKey::Parts{}).date;
    return date.isValid() ? QLocale().toString(date, QLocale::LongFormat) : key;
}

struct Merged
{
    Note note;
    bool conflict = false;
};

// Text and colour of both sides merged; where both changed the colour, this machine's.
Merged mergedNote(const std::optional<Note> &base, const Note &local, const Note &server, bool withoutBase)
{
    const TextMerge::Result text = withoutBase || !base ? TextMerge::mergeWithoutBase(local.text, server.text)
                                                        : TextMerge::merge(base->text, local.text, server.text);
    QString color = local.color.isEmpty() ? server.color : local.color;
    if (base && !withoutBase && local.color == base->color)
        color = server.color.isEmpty() ? local.color : server.color;
    Note note = local;
    note.text = text.text;
    note.color = color;
    return {note, text.conflict};
}

bool sameNote(const Note &a, const Note &b)
{
    return a.text == b.text && a.color == b.color;
}

// A note as it went up to the server, with the version mark it went up with.
struct Ancestor
{
    QString version;
    Note note;
};

// What this machine sent of a note and never learnt the fate of.
QList<Ancestor> sentOf(const SyncState::Entry &entry)
{
    QList<Ancestor> sent;
    if (entry.pending)
        sent.append({entry.pendingVersion, *entry.pending});
    for (auto it = entry.earlierSent.cbegin(); it != entry.earlierSent.cend(); ++it)
        sent.append({it.key(), it.value()});
    return sent;
}

// Of the notes known here, the newest that the server's entry comes from,
// going by the entry's version marks (versions, newest first).
std::optional<Note> newestAncestor(const QList<Ancestor> &known, const QStringList &versions)
{
    std::optional<Note> newest;
    qsizetype newestAt = versions.size();
    for (const Ancestor &ancestor : known) {
        const qsizetype at = versions.indexOf(ancestor.version);
        if (at >= 0 && at < newestAt) {
            newestAt = at;
            newest = ancestor.note;
        }
    }
    return newest;
}

} // namespace

SyncPass::SyncPass(Collection &collection, SyncState &state, NoteStore &store)
    : m_collection(collection), m_state(state), m_store(store)
{
}

QStringList SyncPass::waitingKeys(SyncState &state, NoteStore &store)
{
    const QHash<QString, SyncState::Entry> entries = state.entries();
    QStringList keys;
    for (const Note &local : store.read()) {
        const auto entry = entries.constFind(local.key);
        const bool waiting = entry == entries.cend() ? !local.text.isEmpty()
                           : entry->base ? !sameNote(*entry->base, local)
                                         : entry->hash != SyncState::hashOf(local.text, local.color);
        if (waiting)
            keys << local.key;
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

SyncPass::Summary SyncPass::run(bool dryRun, const QDateTime &now, const Progress &progress)
{
    m_dryRun = dryRun;
    m_now = now;
    m_summary = Summary();
    m_local = m_store.read();
    m_entries = m_state.entries();
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        m_keyOfHref.insert(it->href, it.key());
    QStringList keysInUse(m_entries.keyBegin(), m_entries.keyEnd());
    for (auto it = m_local.cbegin(); it != m_local.cend(); ++it) {
        if (!it->text.isEmpty())
            keysInUse << it.key();
    }
    m_dayKeys = DayKeys(m_language, keysInUse);
    for (auto it = m_local.cbegin(); it != m_local.cend(); ++it) {
        if (!m_dayKeys.shadowed().contains(it.key()))
            m_keyOfOwnHref.insert(m_collection.hrefFor(NoteJournal::fileNameFor(it.key())), it.key());
    }
    m_brought = m_state.brought();

    const QString startToken = m_state.value(TokenName);
    const Collection::Changes changes = m_collection.changesSince(startToken);
    readChanges(changes);
    settleDays();

    std::optional<SyncState::Batch> batch;
    if (!dryRun)
        batch.emplace(m_state);
    try {
        syncAll(progress);
    } catch (const SyncFailure &) {
        batch->keep(); // what the pass agreed before the failure holds
        throw;
    } catch (const Failure &) {
        batch->keep();
        throw;
    }
    if (!dryRun && m_everyChangeTaken)
        moveToken(startToken, changes.token);
    return m_summary;
}

// Every note of either side, then the entries of other programs.
void SyncPass::syncAll(const Progress &progress)
{
    QSet<QString> keySet(m_server.keyBegin(), m_server.keyEnd());
    for (auto it = m_local.cbegin(); it != m_local.cend(); ++it)
        keySet.insert(it.key());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        keySet.insert(it.key());
    for (const QString &key : m_dayKeys.shadowed())
        keySet.remove(key);
    reportShadowed();
    QStringList keys(keySet.cbegin(), keySet.cend());
    std::sort(keys.begin(), keys.end());
    const qint64 total = keys.size() + m_duplicates.size() + m_others.size();
    qint64 done = 0;
    for (const QString &key : keys) {
        syncKey(key);
        if (progress)
            progress(++done, total);
    }
    flushUploads();
    for (auto it = m_duplicates.cbegin(); it != m_duplicates.cend(); ++it) {
        absorbDuplicates(it.key(), it.value());
        if (progress)
            progress(++done, total);
    }
    for (const OtherEntry &other : m_others) {
        addOtherEntry(other);
        if (progress)
            progress(++done, total);
    }
    flushUploads();
}

// Which entries changed on the server and must be fetched, which were
// removed, and what the fetched ones say.
void SyncPass::readChanges(const Collection::Changes &changes)
{
    const QHash<QString, QString> absorbed = m_state.absorbed();
    QStringList wanted;
    for (auto it = changes.etags.cbegin(); it != changes.etags.cend(); ++it) {
        const auto key = m_keyOfHref.constFind(it.key());
        const QString known = key != m_keyOfHref.cend() ? m_entries.value(*key).etag : absorbed.value(it.key());
        if (known != it.value())
            wanted << it.key();
    }
    m_removed = QSet<QString>(changes.removed.cbegin(), changes.removed.cend());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (changes.complete && !changes.etags.contains(it->href))
            m_removed.insert(it->href);
        // An entry of an older version's state whose note changed here: its
        // text on the server is known only by fetching it.
        const auto local = m_local.constFind(it.key());
        const bool knownBase = it->base || (local != m_local.cend() && it->hash == SyncState::hashOf(local->text, local->color));
        if (it->agreed() && !knownBase && !m_removed.contains(it->href) && !wanted.contains(it->href))
            wanted << it->href;
    }
    QSet<QString> missing(wanted.cbegin(), wanted.cend());
    const QList<Collection::Entry> fetched = wanted.isEmpty() ? QList<Collection::Entry>() : m_collection.fetch(wanted);
    for (const Collection::Entry &entry : fetched) {
        if (missing.remove(entry.href))
            take(entry);
    }
    // An entry listed as changed but not given (removed meanwhile, or left out
    // of the answer) is taken by a later pass: the token must not pass it by.
    m_everyChangeTaken = missing.isEmpty();
}

void SyncPass::take(const Collection::Entry &fetched)
{
    // The note whose entry this is: one we synced before, or one of this
    // store's notes whose entry another machine made.
    const QString knownKey = m_keyOfMovedHref.value(fetched.href, m_keyOfHref.value(fetched.href, m_keyOfOwnHref.value(fetched.href)));
    QList<NoteJournal::Entry> entries;
    try {
        entries = NoteJournal::parse(fetched.data);
    } catch (const Failure &failure) {
        entries.clear();
    }
    const auto ours = std::find_if(entries.cbegin(), entries.cend(), [](const NoteJournal::Entry &e) { return e.isOurs(); });
    if (ours != entries.cend() && !localKeyOf(*ours).isEmpty()) {
        const QString key = localKeyOf(*ours);
        if (knownKey.isEmpty() || knownKey == key) {
            if (fetched.href == hrefOf(key) || knownKey == key) {
                m_server.insert(key, {fetched.href, fetched.etag, *ours});
                return;
            }
            if (NoteKey::parse(key)->date.isValid()) { // written under another language's key, or by an earlier version
                m_duplicates[key].append({fetched.href, fetched.etag, *ours});
                return;
            }
        }
    }
    if (!knownKey.isEmpty() && ours == entries.cend()) {
        // Another program's entry of the note's day where the note is: that
        // program rewrote our entry without our properties, or it is the
        // entry the note was kept in from the start.
        const QDate day = NoteKey::parse(knownKey).value_or(NoteKey::Parts{}).date;
        for (const NoteJournal::Entry &entry : entries) {
            if (day.isValid() && entry.day == day) {
                m_server.insert(knownKey, {fetched.href, fetched.etag, entry});
                return;
            }
        }
    }
    if (!knownKey.isEmpty()) {
        // At a note's address but no readable entry of that note: left as it is.
        m_leftAlone.insert(fetched.href);
        problem(tr("The entry %1 on the server is not a journal entry of the note of %2 that this program can read: "
                   "it was left as it is, and so was the note here.").arg(fetched.href, dayOf(knownKey)));
        return;
    }
    for (const NoteJournal::Entry &entry : entries) {
        if (!m_calendar.othersTaken)
            break;
        const QString key = localKeyOf(entry);
        const QString text = entry.isOurs() ? entry.textOver(QString()) : entry.foreignText();
        if (!key.isEmpty() && !text.isEmpty()) {
            m_others.append({key, fetched.href, fetched.etag, text, entry});
            return;
        }
    }
    // Nothing for a note here (an event, a task, a broken entry of another
    // program): it is not asked for again until it changes.
    if (!m_dryRun)
        m_state.setAbsorbed(fetched.href, fetched.etag);
}

QByteArray SyncPass::entryData(const Upload &upload) const
{
    return NoteJournal::calendarText(upload.note, m_now, versionsOf(upload), m_calendar.form, uidAt(upload.key, upload.server));
}

// Whether a new note goes up: as an event only with a day to show it on (a
// key whose year the window could not read names none).
bool SyncPass::travels(const QString &key) const
{
    if (m_calendar.form == NoteJournal::Form::Journal)
        return true;
    const std::optional<Note> note = Note::fromKey(key);
    return note && note->date().isValid();
}

QString SyncPass::hrefOf(const QString &key) const
{
    if (const auto moved = m_movedHref.constFind(key); moved != m_movedHref.cend())
        return *moved;
    const auto entry = m_entries.constFind(key);
    return entry != m_entries.cend() ? entry->href : m_collection.hrefFor(NoteJournal::fileNameFor(key));
}

// The note both sides last agreed on, where it is known.
std::optional<Note> SyncPass::baseOf(const QString &key) const
{
    const auto entry = m_entries.constFind(key);
    if (entry == m_entries.cend())
        return std::nullopt;
    if (entry->base)
        return entry->base;
    const auto local = m_local.constFind(key);
    if (local != m_local.cend() && entry->hash == SyncState::hashOf(local->text, local->color))
        return *local; // an older version's state: the hash says the note is as agreed
    return std::nullopt;
}

// The note as the server has it now: the fetched entry, or the base when the
// entry did not change there.
std::optional<Note> SyncPass::serverNoteOf(const QString &key, const std::optional<Note> &base) const
{
    const auto changed = m_server.constFind(key);
    if (changed == m_server.cend())
        return base;
    Note note = base.value_or(Note::fromKey(key).value_or(Note{key, {}, {}, {}}));
    note.text = changed->entry.isOurs() ? changed->entry.textOver(base ? base->text : QString()) : changed->entry.foreignText();
    if (Note::isStorableColor(changed->entry.color)) // any other colour would land in the store
        note.color = changed->entry.color;
    return note;
}

void SyncPass::syncKey(const QString &key)
{
    const auto entryIt = m_entries.constFind(key);
    const std::optional<SyncState::Entry> entry = entryIt != m_entries.cend() && entryIt->agreed()
        ? std::optional(*entryIt) : std::nullopt;
    if (entry && m_leftAlone.contains(entry->href))
        return;
    const auto localIt = m_local.constFind(key);
    const std::optional<Note> local = localIt != m_local.cend() ? std::optional(*localIt) : std::nullopt;
    const auto changed = m_server.constFind(key);

    if (!entry && changed == m_server.cend()) {
        if (local && !local->text.isEmpty() && travels(key)) {
            m_summary.uploaded++;
            note(tr("upload %1").arg(key));
            upload(key, *local, {std::nullopt, hrefOf(key), QString(), {}});
        }
        return;
    }
    if (entry && changed == m_server.cend() && m_removed.contains(entry->href)) {
        if (local) {
            m_summary.restored++;
            note(tr("upload %1 again, removed on the server").arg(key));
            upload(key, *local, {std::nullopt, entry->href, QString(), {}, entry->uid});
        }
        return;
    }
    const std::optional<Note> base = commonBase(key, entryIt != m_entries.cend() ? std::optional(*entryIt) : std::nullopt);
    const std::optional<Note> serverNote = serverNoteOf(key, base);
    if (!serverNote)
        return; // not fetched: a later pass takes it
    const Server server = changed != m_server.cend()
        ? Server{serverNote, changed->href, changed->etag, changed->entry.versions, changed->entry.uid}
        : Server{serverNote, entry->href, entry->etag, entry->versions, entry->uid};
    // Another program's entry that the note is kept in gets our properties.
    const bool foreign = changed != m_server.cend() && !changed->entry.isOurs();

    if (!local && !foreign) {
        download(key, server);
        return;
    }
    if (!local || sameNote(*local, *serverNote)) {
        if (!local && !writeStore(key, *serverNote, server))
            return;
        if (!local) {
            m_summary.downloaded++;
            note(tr("take %1 from the server").arg(key));
        }
        if (foreign) {
            m_summary.uploaded++;
            note(tr("upload %1").arg(key));
            upload(key, *serverNote, server);
        } else if (!entry || entry->etag != server.etag || entry->restored || !entry->base || entry->pending
                   || !sameNote(*entry->base, *serverNote)) {
            agree(key, server, *serverNote);
        }
        return;
    }
    mergeBoth(key, *local, server, base, !base || (entry && entry->restored));
}

// The note this store's note and the server's both come from: the one the
// two sides last agreed on, or the one this machine last sent when the
// server's entry comes from that; nothing when the entry has another history
// (written afresh after a removal, or too many writes ago).
std::optional<Note> SyncPass::commonBase(const QString &key, const std::optional<SyncState::Entry> &entry) const
{
    if (!entry)
        return std::nullopt;
    const auto changed = m_server.constFind(key);
    if (changed == m_server.cend())
        return entry->agreed() ? baseOf(key) : std::nullopt; // unchanged there: a note on its way up did not arrive
    const QStringList &versions = changed->entry.versions;
    const std::optional<Note> agreed = entry->agreed() ? baseOf(key) : std::nullopt;
    if (agreed && entry->versions.isEmpty() && versions.isEmpty())
        return agreed; // an entry that never had our marks, unchanged
    QList<Ancestor> known = sentOf(*entry);
    if (agreed && !entry->versions.isEmpty())
        known.append({entry->versions.first(), *agreed});
    return newestAncestor(known, versions);
}

// Both sides hold a note of the key and they differ.
void SyncPass::mergeBoth(const QString &key, const Note &local, const Server &server, const std::optional<Note> &base,
                         bool withoutBase)
{
    const Note &there = *server.note;
    Merged merged;
    if (!withoutBase && sameNote(local, *base))
        merged = {there, false};
    else if (!withoutBase && sameNote(there, *base))
        merged = {local, false};
    else
        merged = mergedNote(base, local, there, withoutBase);

    if (!sameNote(merged.note, local)) {
        if (!writeStore(key, merged.note, server))
            return;
        if (sameNote(merged.note, there)) {
            m_summary.downloaded++;
            note(tr("take %1 from the server").arg(key));
            return;
        }
        m_summary.merged++;
        note(tr("merge %1 with the server's").arg(key));
    } else {
        m_summary.uploaded++;
        note(tr("upload %1").arg(key));
    }
    upload(key, merged.note, server);
}

// Adds another program's entry below the note of its day, or changes the
// text it brought before; it waits for the next pass when the planner typed
// into that note meanwhile.
void SyncPass::addOtherEntry(const OtherEntry &other)
{
    const auto localIt = m_local.constFind(other.key);
    Note local = localIt != m_local.cend() ? *localIt : Note::fromKey(other.key).value_or(Note{other.key, {}, {}, {}});
    const auto before = m_brought.constFind(other.href);
    const bool broughtHere = before != m_brought.cend() && before->key == other.key;
    const QString text = broughtHere ? broughtInto(local.text, before->text, other.text)
                       : local.text.contains(other.text) ? local.text
                       : local.text.isEmpty()           ? other.text
                                                        : local.text + u'\n' + other.text;
    if (text != local.text) {
        Note added = local;
        added.text = text;
        if (!writeStore(other.key, added))
            return;
        m_summary.added++;
        note(tr("add another program's entry to %1").arg(other.key));
        // This pass may have uploaded the note already: go on from that entry.
        const auto entry = m_entries.value(other.key);
        upload(other.key, added, entry.agreed() ? Server{entry.base, entry.href, entry.etag, entry.versions, entry.uid}
                                                : Server{std::nullopt, hrefOf(other.key), QString(), {}});
        flushUploads();
    }
    if (!m_dryRun) {
        m_state.setBrought(other.href, {other.key, other.text});
        m_state.setAbsorbed(other.href, other.etag);
    }
}

// A note this store does not hold, taken from the server: stored with
// others in one transaction, before the pass asks the server anything else.
void SyncPass::download(const QString &key, const Server &server)
{
    m_downloads.append({key, server});
    if (m_downloads.size() >= DownloadBatch)
        flushDownloads();
}

void SyncPass::flushDownloads()
{
    if (m_downloads.isEmpty())
        return;
    const QList<std::pair<QString, Server>> downloads = std::exchange(m_downloads, {});
    QList<NoteStore::Replacement> replacements;
    for (const auto &[key, server] : downloads)
        replacements.append({std::nullopt, *server.note});
    const QList<bool> stored = m_dryRun ? QList<bool>(downloads.size(), true) : m_store.replaceAll(replacements);
    for (qsizetype i = 0; i < downloads.size(); ++i) {
        const auto &[key, server] = downloads.at(i);
        if (!stored.at(i)) { // the planner made the note meanwhile: the next pass merges it
            m_everyChangeTaken = false;
            continue;
        }
        m_local.insert(key, *server.note);
        agree(key, server, *server.note);
        m_summary.downloaded++;
        note(tr("take %1 from the server").arg(key));
    }
    if (!m_dryRun)
        m_state.commit();
}

// Puts note over the server's entry (its ETag; none for a new entry), with
// others in one go. The server's note is what note was made from, for a
// merge when someone wrote in between.
void SyncPass::upload(const QString &key, const Note &note, const Server &server)
{
    if (m_dryRun)
        return;
    m_pending.append({key, note, server, newVersion()});
    if (m_pending.size() >= UploadBatch)
        flushUploads();
}

// The version marks an upload gives its entry: its own, then those of the
// entry it replaces, the last few.
QStringList SyncPass::versionsOf(const Upload &upload)
{
    return (QStringList{upload.version} + upload.server.versions).mid(0, SyncState::KeptVersions);
}

void SyncPass::flushUploads()
{
    flushDownloads();
    if (m_pending.isEmpty())
        return;
    const QList<Upload> uploads = std::exchange(m_pending, {});
    QList<Collection::PutRequest> requests;
    for (const Upload &upload : uploads) {
        m_state.setPending(upload.key, upload.server.href, upload.note, upload.version);
        requests.append({upload.server.href, entryData(upload), upload.server.etag});
    }
    m_state.commit(); // what goes up is on record before it goes
    const QList<Collection::Put> results = m_collection.putAll(requests);
    for (qsizetype i = 0; i < uploads.size(); ++i)
        finishUpload(uploads.at(i), results.value(i));
}

void SyncPass::finishUpload(Upload upload, Collection::Put put)
{
    for (int attempt = 1;; ++attempt) {
        if (put.outcome == Collection::Put::Stored) {
            m_uploadedAny = true;
            agree(upload.key, {upload.note, upload.server.href, put.etag, versionsOf(upload), uidAt(upload.key, upload.server)}, upload.note);
            return;
        }
        if (put.outcome == Collection::Put::Refused) {
            problem(tr("The note of %1 did not go up: the server refused it (%2). It is tried again at the next pass.")
                        .arg(dayOf(upload.key), put.reason));
            keepServerChange(upload.key);
            return;
        }
        if (attempt == PutAttempts)
            break;
        if (!mergeWithServer(upload))
            return;
        upload.version = newVersion();
        m_state.setPending(upload.key, upload.server.href, upload.note, upload.version);
        m_state.commit();
        put = m_collection.put(upload.server.href, entryData(upload), upload.server.etag);
    }
    problem(tr("The note of %1 did not go up: other writes to it kept overtaking this one. It is tried again at the next pass.")
                .arg(dayOf(upload.key)));
    keepServerChange(upload.key);
}

// A note that did not go up was merged with the server's change of this
// pass, which the sync state does not record: the token stays, so that the
// next pass lists that change again instead of passing it by.
void SyncPass::keepServerChange(const QString &key)
{
    if (m_server.contains(key))
        m_everyChangeTaken = false;
}

// Someone wrote the entry after this pass read it: merges with what is there
// now, and says whether that is still to be put there.
bool SyncPass::mergeWithServer(Upload &upload)
{
    const QList<Collection::Entry> now = m_collection.fetch({upload.server.href});
    if (now.isEmpty()) { // removed in between: put it there anew
        upload.server = {std::nullopt, upload.server.href, QString(), {}, upload.server.uid};
        return true;
    }
    m_server.remove(upload.key);
    take(now.first());
    const auto taken = m_server.constFind(upload.key);
    if (taken == m_server.cend())
        return false; // no longer an entry we can read: reported and left as it is
    // The note sent was made from the server's; the entry comes from that one,
    // or from a note an earlier pass sent that arrived only after this pass
    // listed, unless it was written afresh meanwhile.
    QList<Ancestor> known;
    if (upload.server.note && !upload.server.versions.isEmpty())
        known.append({upload.server.versions.first(), *upload.server.note});
    if (const auto entry = m_entries.constFind(upload.key); entry != m_entries.cend())
        known += sentOf(*entry);
    const std::optional<Note> base = newestAncestor(known, taken->entry.versions);
    const Note there = *serverNoteOf(upload.key, base);
    const Merged merged = mergedNote(base, upload.note, there, !base);
    const Server server{there, now.first().href, now.first().etag, taken->entry.versions, taken->entry.uid};
    if (!sameNote(merged.note, upload.note) && !writeStore(upload.key, merged.note, server))
        return false;
    if (sameNote(merged.note, there)) {
        agree(upload.key, server, there);
        return false;
    }
    upload.note = merged.note;
    upload.server = server;
    return true;
}

// Replaces the note read at the start of the pass; false when the planner
// stored a keystroke in it since: the note then waits for the next pass.
// A note made from the server's (from) is recorded at once as made from it,
// durably, before anything else is asked of the server: a pass killed after
// the write merges the next time against that, not against an older text,
// which would count the server's changes twice.
bool SyncPass::writeStore(const QString &key, const Note &to, const std::optional<Server> &from)
{
    const auto before = m_local.constFind(key);
    const std::optional<Note> expected = before != m_local.cend() ? std::optional(*before) : std::nullopt;
    if (!m_dryRun && !m_store.replace(expected, to)) {
        m_everyChangeTaken = false;
        return false;
    }
    Note stored = to;
    if (to.color.isEmpty() && expected)
        stored.color = expected->color;
    m_local.insert(key, stored);
    if (from && from->note && !m_dryRun) {
        agree(key, *from, *from->note);
        m_state.commit();
    }
    return true;
}

void SyncPass::agree(const QString &key, const Server &server, const Note &note)
{
    if (m_dryRun)
        return;
    SyncState::Entry entry;
    entry.href = server.href;
    entry.etag = server.etag;
    entry.base = note;
    entry.versions = server.versions;
    entry.uid = server.uid;
    m_state.setEntry(key, entry);
    m_entries.insert(key, entry);
    m_keyOfHref.insert(server.href, key);
}

QString SyncPass::newVersion()
{
    return QUuid::createUuid().toString(QUuid::Id128).left(8);
}

// The token of the listing this pass took; when the pass uploaded, the token
// after its own uploads, so that the next pass is not handed them again, as
// long as nobody else wrote meanwhile.
void SyncPass::moveToken(const QString &startToken, const QString &token)
{
    QString next = token;
    if (m_uploadedAny && !token.isEmpty()) {
        const Collection::Changes since = m_collection.changesSince(token);
        const bool onlyOurs = since.removed.isEmpty() && std::all_of(since.etags.keyBegin(), since.etags.keyEnd(), [&](const QString &href) {
            const auto key = m_keyOfHref.constFind(href);
            return key != m_keyOfHref.cend() && m_entries.value(*key).etag == since.etags.value(href) && !since.etags.value(href).isEmpty();
        });
        if (onlyOurs && !since.token.isEmpty())
            next = since.token;
    }
    if (next != startToken)
        m_state.setValue(TokenName, next);
}

void SyncPass::note(const QString &change)
{
    m_summary.changes << change;
}

void SyncPass::problem(const QString &text)
{
    m_summary.problems << text;
}
