// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of one day: which key a server entry belongs to here, the
// entries of one day under keys of several languages brought together, and
// another program's entry taken as the entry of a day that has none of ours.
#include "sync/SyncPass.h"

#include "notes/NoteJournal.h"
#include "notes/TextMerge.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SyncPass", text);
}

QDate dateOf(const QString &key)
{
    return NoteKey::parse(key).value_or(NoteKey::Parts{}).date;
}

} // namespace

// Ours: the key this machine keeps the day of its key under (the key itself
// when it names no date). Another program's: the key of its day here.
QString SyncPass::localKeyOf(const NoteJournal::Entry &entry) const
{
    if (entry.isOurs())
        return NoteKey::isText(entry.key) ? m_dayKeys.keyOf(entry.key) : QString();
    return entry.day.isValid() ? m_dayKeys.keyFor(entry.day) : QString();
}

// Whether the note of key has an entry on the server that this machine knows of.
bool SyncPass::hasEntryThere(const QString &key) const
{
    if (m_server.contains(key))
        return true;
    const auto entry = m_entries.constFind(key);
    return entry != m_entries.cend() && !m_removed.contains(entry->href);
}

// A day whose entry is gone, or that had none, is kept in one of the other
// entries of that day: ours under another language's key (the entry at the
// day's own address first), else, while the note here is empty, another
// program's. The rest of ours are brought into it after the notes are synced.
void SyncPass::settleDays()
{
    for (auto it = m_duplicates.begin(); it != m_duplicates.end();) {
        if (!hasEntryThere(it.key())) {
            const QString ownHref = m_collection.hrefFor(NoteJournal::fileNameFor(it.key()));
            qsizetype chosen = 0;
            for (qsizetype i = 0; i < it->size(); ++i) {
                if (it->at(i).href == ownHref)
                    chosen = i;
            }
            moveTo(it.key(), it->takeAt(chosen));
        }
        it = it->isEmpty() ? m_duplicates.erase(it) : std::next(it);
    }
    for (qsizetype i = 0; i < m_others.size();) {
        const OtherEntry &other = m_others.at(i);
        if (!other.entry.isOurs() && dateOf(other.key).isValid() && !hasEntryThere(other.key)
            && m_local.value(other.key).text.isEmpty()) {
            moveTo(other.key, {other.href, other.etag, other.entry});
            m_others.removeAt(i);
        } else {
            ++i;
        }
    }
}

void SyncPass::moveTo(const QString &key, const ServerNote &there)
{
    m_server.insert(key, there);
    m_movedHref.insert(key, there.href);
    m_keyOfMovedHref.insert(there.href, key);
}

// The text of more entries of ours of one day merged into its note, which
// goes up; each such entry is removed once the note holding its text is on
// the server. What both texts share appears once.
void SyncPass::absorbDuplicates(const QString &key, const QList<ServerNote> &duplicates)
{
    const auto localIt = m_local.constFind(key);
    const Note local = localIt != m_local.cend() ? *localIt : Note::fromKey(key).value_or(Note{key, {}, {}, {}});
    Note merged = local;
    QStringList versions;
    for (const ServerNote &duplicate : duplicates) {
        merged.text = TextMerge::mergeWithoutBase(merged.text, duplicate.entry.textOver(QString())).text;
        if (merged.color.isEmpty())
            merged.color = duplicate.entry.color;
        versions += duplicate.entry.versions;
        note(tr("bring the entry %1 together with %2").arg(duplicate.href, key));
    }
    if (m_dryRun)
        return;
    if (merged.text != local.text || merged.color != local.color) {
        if (!writeStore(key, merged))
            return;
        m_summary.merged++;
        const SyncState::Entry entry = m_entries.value(key);
        // Machines whose last agreement was with one of these entries still
        // find their base in the versions of the one that stays.
        Server server = entry.agreed() ? Server{entry.base, entry.href, entry.etag, entry.versions, entry.uid}
                                       : Server{std::nullopt, hrefOf(key), QString(), {}};
        server.versions += versions;
        upload(key, merged, server);
        flushUploads();
    }
    const SyncState::Entry entry = m_entries.value(key);
    if (!entry.base || entry.base->text != merged.text)
        return; // not up yet: the entries stay until a later pass
    for (const ServerNote &duplicate : duplicates) {
        if (m_collection.removeEntry(duplicate.href, duplicate.etag).outcome != Collection::Put::Stored)
            m_everyChangeTaken = false; // changed meanwhile: taken again by the next pass
    }
}

// The note's text with what another program's entry brought before replaced
// by what it holds now: in place where the note still holds it as brought,
// else merged with the note as an edit of it.
QString SyncPass::broughtInto(const QString &note, const QString &before, const QString &now)
{
    if (before == now)
        return note;
    const qsizetype at = note.indexOf(before);
    if (!before.isEmpty() && at >= 0 && note.indexOf(before, at + 1) < 0)
        return note.left(at) + now + note.mid(at + before.size());
    return TextMerge::merge(before, note, now).text;
}

// The UID an entry keeps when the note is written to it: the one it has,
// else the one an earlier version gave the key at that address, else the day's.
QString SyncPass::uidAt(const QString &key, const Server &server) const
{
    if (!server.uid.isEmpty())
        return server.uid;
    const auto entry = m_entries.constFind(key);
    if (entry != m_entries.cend() && entry->href == server.href && !entry->uid.isEmpty())
        return entry->uid;
    if (server.href == m_collection.hrefFor(NoteJournal::keyFileNameFor(key)))
        return NoteJournal::keyUidFor(key);
    return NoteJournal::uidFor(key);
}

void SyncPass::reportShadowed()
{
    for (const QString &key : m_dayKeys.shadowed()) {
        problem(tr("The note %1 is of a day whose note is kept here under %2, a key of another language: it was not "
                   "synced. Run \"tavorin-notes move-language\" to bring the two together.")
                    .arg(key, m_dayKeys.keyOf(key)));
    }
}
