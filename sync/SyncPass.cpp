// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/SyncPass.h"

#include "notes/NoteJournal.h"
#include "notes/NoteStore.h"
#include "notes/TextMerge.h"
#include "platform/Failure.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>
#include <utility>

namespace {

// Tries of a write that someone else's write keeps overtaking.
constexpr int PutAttempts = 5;
// Uploads sent at once.
constexpr qsizetype UploadBatch = 64;

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

    const QString startToken = m_state.value(TokenName);
    const Collection::Changes changes = m_collection.changesSince(startToken);
    readChanges(changes);

    std::optional<SyncState::Batch> batch;
    if (!dryRun)
        batch.emplace(m_state);
    QSet<QString> keySet(m_server.keyBegin(), m_server.keyEnd());
    for (auto it = m_local.cbegin(); it != m_local.cend(); ++it)
        keySet.insert(it.key());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        keySet.insert(it.key());
    QStringList keys(keySet.cbegin(), keySet.cend());
    std::sort(keys.begin(), keys.end());
    const qint64 total = keys.size() + m_others.size();
    qint64 done = 0;
    for (const QString &key : keys) {
        syncKey(key);
        if (progress)
            progress(++done, total);
    }
    flushUploads();
    for (const OtherEntry &other : m_others) {
        addOtherEntry(other);
        if (progress)
            progress(++done, total);
    }
    flushUploads();
    if (!dryRun && m_everyChangeTaken)
        moveToken(startToken, changes.token);
    return m_summary;
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
        if (!knownBase && !m_removed.contains(it->href) && !wanted.contains(it->href))
            wanted << it->href;
    }
    QSet<QString> missing(wanted.cbegin(), wanted.cend());
    for (const Collection::Entry &entry : m_collection.fetch(wanted)) {
        if (missing.remove(entry.href))
            take(entry);
    }
    // An entry listed as changed but not given (removed meanwhile, or left out
    // of the answer) is taken by a later pass: the token must not pass it by.
    m_everyChangeTaken = missing.isEmpty();
}

void SyncPass::take(const Collection::Entry &fetched)
{
    const QString knownKey = m_keyOfHref.value(fetched.href);
    QList<NoteJournal::Entry> entries;
    try {
        entries = NoteJournal::parse(fetched.data);
    } catch (const Failure &failure) {
        entries.clear();
    }
    const auto ours = std::find_if(entries.cbegin(), entries.cend(), [](const NoteJournal::Entry &e) { return e.isOurs(); });
    if (ours != entries.cend() && !ours->noteKey().isEmpty()) {
        const QString key = ours->noteKey();
        if (knownKey.isEmpty() || knownKey == key) {
            if (fetched.href == hrefOf(key) || knownKey == key) {
                m_server.insert(key, {fetched.href, fetched.etag, *ours});
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
        const QString key = entry.noteKey();
        const QString text = entry.textOver(QString());
        if (!key.isEmpty() && !text.isEmpty()) {
            m_others.append({key, fetched.href, fetched.etag, text});
            return;
        }
    }
    // Nothing for a note here (an event, a task, a broken entry of another
    // program): it is not asked for again until it changes.
    if (!m_dryRun)
        m_state.setAbsorbed(fetched.href, fetched.etag);
}

QString SyncPass::hrefOf(const QString &key) const
{
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
    note.text = changed->entry.textOver(base ? base->text : QString());
    if (!changed->entry.color.isEmpty())
        note.color = changed->entry.color;
    return note;
}

void SyncPass::syncKey(const QString &key)
{
    const auto entry = m_entries.constFind(key);
    const bool hasEntry = entry != m_entries.cend();
    if (hasEntry && m_leftAlone.contains(entry->href))
        return;
    const auto localIt = m_local.constFind(key);
    const std::optional<Note> local = localIt != m_local.cend() ? std::optional(*localIt) : std::nullopt;
    const auto changed = m_server.constFind(key);

    if (!hasEntry && changed == m_server.cend()) {
        if (local && !local->text.isEmpty()) {
            m_summary.uploaded++;
            note(tr("upload %1").arg(key));
            upload(key, *local, hrefOf(key), QString(), std::nullopt);
        }
        return;
    }
    if (hasEntry && changed == m_server.cend() && m_removed.contains(entry->href)) {
        if (local) {
            m_summary.restored++;
            note(tr("upload %1 again, removed on the server").arg(key));
            upload(key, *local, entry->href, QString(), std::nullopt);
        }
        return;
    }
    const std::optional<Note> base = baseOf(key);
    const std::optional<Note> server = serverNoteOf(key, base);
    if (!server)
        return; // not fetched: a later pass takes it
    const QString href = changed != m_server.cend() ? changed->href : entry->href;
    const QString etag = changed != m_server.cend() ? changed->etag : entry->etag;

    if (!local || sameNote(*local, *server)) {
        if (!local && !writeStore(key, *server))
            return;
        if (!local) {
            m_summary.downloaded++;
            note(tr("take %1 from the server").arg(key));
        }
        if (!hasEntry || entry->etag != etag || entry->restored || !entry->base || !sameNote(*entry->base, *server))
            agree(key, href, etag, *server);
        return;
    }
    const bool withoutBase = !base || (hasEntry && entry->restored);
    mergeBoth(key, *local, *server, base, withoutBase, href, etag);
}

// Both sides hold a note of the key and they differ.
void SyncPass::mergeBoth(const QString &key, const Note &local, const Note &server, const std::optional<Note> &base,
                         bool withoutBase, const QString &href, const QString &etag)
{
    Merged merged;
    if (!withoutBase && sameNote(local, *base))
        merged = {server, false};
    else if (!withoutBase && sameNote(server, *base))
        merged = {local, false};
    else
        merged = mergedNote(base, local, server, withoutBase);

    if (!sameNote(merged.note, local)) {
        if (!writeStore(key, merged.note))
            return;
        if (sameNote(merged.note, server)) {
            m_summary.downloaded++;
            note(tr("take %1 from the server").arg(key));
            agree(key, href, etag, server);
            return;
        }
        m_summary.merged++;
        note(tr("merge %1 with the server's").arg(key));
    } else {
        m_summary.uploaded++;
        note(tr("upload %1").arg(key));
    }
    upload(key, merged.note, href, etag, server);
}

// Adds another program's entry below the note of its day; it waits for the
// next pass when the planner typed into that note meanwhile.
void SyncPass::addOtherEntry(const OtherEntry &other)
{
    const auto localIt = m_local.constFind(other.key);
    Note local = localIt != m_local.cend() ? *localIt : Note::fromKey(other.key).value_or(Note{other.key, {}, {}, {}});
    if (!local.text.contains(other.text)) {
        Note added = local;
        added.text = local.text.isEmpty() ? other.text : local.text + u'\n' + other.text;
        if (!writeStore(other.key, added))
            return;
        m_summary.added++;
        note(tr("add another program's entry to %1").arg(other.key));
        // This pass may have uploaded the note already: go on from that entry.
        const auto entry = m_dryRun ? std::nullopt : m_state.entry(other.key);
        upload(other.key, added, entry ? entry->href : hrefOf(other.key), entry ? entry->etag : QString(),
               entry ? entry->base : std::nullopt);
        flushUploads();
    }
    if (!m_dryRun)
        m_state.setAbsorbed(other.href, other.etag);
}

// Puts note at href over etag, with others in one go; serverBase is the
// server's note that note was made from, for a merge when someone wrote in between.
void SyncPass::upload(const QString &key, const Note &note, const QString &href, const QString &etag,
                      const std::optional<Note> &serverBase)
{
    if (m_dryRun)
        return;
    m_pending.append({key, note, href, etag, serverBase});
    if (m_pending.size() >= UploadBatch)
        flushUploads();
}

void SyncPass::flushUploads()
{
    if (m_pending.isEmpty())
        return;
    const QList<Upload> uploads = std::exchange(m_pending, {});
    QList<Collection::PutRequest> requests;
    for (const Upload &upload : uploads)
        requests.append({upload.href, NoteJournal::calendarText(upload.note, m_now), upload.etag});
    const QList<Collection::Put> results = m_collection.putAll(requests);
    for (qsizetype i = 0; i < uploads.size(); ++i)
        finishUpload(uploads.at(i), results.value(i));
}

void SyncPass::finishUpload(Upload upload, Collection::Put put)
{
    for (int attempt = 1;; ++attempt) {
        if (put.outcome == Collection::Put::Stored) {
            m_uploadedAny = true;
            agree(upload.key, upload.href, put.etag, upload.note);
            return;
        }
        if (put.outcome == Collection::Put::Refused) {
            problem(tr("The note of %1 did not go up: the server refused it (%2). It is tried again at the next pass.")
                        .arg(dayOf(upload.key), put.reason));
            return;
        }
        if (attempt == PutAttempts)
            break;
        if (!mergeWithServer(upload))
            return;
        put = m_collection.put(upload.href, NoteJournal::calendarText(upload.note, m_now), upload.etag);
    }
    problem(tr("The note of %1 did not go up: other writes to it kept overtaking this one. It is tried again at the next pass.")
                .arg(dayOf(upload.key)));
}

// Someone wrote the entry after this pass read it: merges with what is there
// now, and says whether that is still to be put there.
bool SyncPass::mergeWithServer(Upload &upload)
{
    const QList<Collection::Entry> now = m_collection.fetch({upload.href});
    if (now.isEmpty()) { // removed in between: put it there anew
        upload.etag.clear();
        upload.serverBase.reset();
        return true;
    }
    m_server.remove(upload.key);
    take(now.first());
    if (!m_server.contains(upload.key))
        return false; // no longer an entry we can read: reported and left as it is
    const Note there = *serverNoteOf(upload.key, upload.serverBase);
    const Merged merged = mergedNote(upload.serverBase, upload.note, there, !upload.serverBase);
    if (!sameNote(merged.note, upload.note) && !writeStore(upload.key, merged.note))
        return false;
    if (sameNote(merged.note, there)) {
        agree(upload.key, upload.href, now.first().etag, there);
        return false;
    }
    upload.note = merged.note;
    upload.etag = now.first().etag;
    upload.serverBase = there;
    return true;
}

// Replaces the note read at the start of the pass; false when the planner
// stored a keystroke in it since: the note then waits for the next pass.
bool SyncPass::writeStore(const QString &key, const Note &to)
{
    const auto from = m_local.constFind(key);
    const std::optional<Note> expected = from != m_local.cend() ? std::optional(*from) : std::nullopt;
    if (!m_dryRun && !m_store.replace(expected, to)) {
        m_everyChangeTaken = false;
        return false;
    }
    Note stored = to;
    if (to.color.isEmpty() && expected)
        stored.color = expected->color;
    m_local.insert(key, stored);
    return true;
}

void SyncPass::agree(const QString &key, const QString &href, const QString &etag, const Note &note)
{
    if (m_dryRun)
        return;
    SyncState::Entry entry{href, etag, note, false, {}};
    m_state.setEntry(key, entry);
    m_entries.insert(key, entry);
    m_keyOfHref.insert(href, key);
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
