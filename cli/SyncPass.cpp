// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncPass.h"

#include "cli/NoteCatalogue.h"
#include "cli/NoteJournal.h"
#include "cli/SyncState.h"
#include "settings/Settings.h"
#include "settings/StoreFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

// Between this machine's text and the server's in a note changed on both.
const QString MergeLine = QStringLiteral("— changed on another device —");

struct OtherEntry
{
    QString key;
    QString href;
    QString etag;
    QString text;
};

QString ownFileName(const QString &key)
{
    return NoteJournal::uidFor(key).section(u'@', 0, 0) + QStringLiteral(".ics");
}

} // namespace

SyncPass::SyncPass(CalDavClient &server, SyncState &state, const QString &storePath)
    : m_server(server), m_state(state), m_storePath(storePath)
{
    Settings::useStoreAt(storePath);
}

QHash<QString, SyncPass::Value> SyncPass::readStore(const QString &storePath)
{
    QHash<QString, Value> notes;
    if (!QFileInfo::exists(storePath))
        return notes; // a machine without notes yet: SaveSetting makes the store
    StoreFile store(storePath, StoreFile::Access::ReadOnly);
    store.checkTable();
    QHash<QString, QString> others;
    store.readValues([&](const QString &key, const QString &value) {
        if (NoteCatalogue::fromKey(key))
            notes.insert(key, {value, QString()});
        else
            others.insert(key, value);
    });
    for (auto it = notes.begin(); it != notes.end(); ++it)
        it->color = others.value(Settings::noteColorKeyOf(it.key()));
    return notes;
}

QStringList SyncPass::waitingKeys(SyncState &state, const QString &storePath)
{
    const auto local = readStore(storePath);
    const auto entries = state.entries();
    QStringList keys;
    for (auto it = local.cbegin(); it != local.cend(); ++it) {
        const auto entry = entries.constFind(it.key());
        if (entry == entries.cend() ? !it->text.isEmpty() : entry->hash != SyncState::hashOf(it->text, it->color))
            keys << it.key();
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

SyncPass::Summary SyncPass::run(bool dryRun, const QDateTime &now, const Progress &progress)
{
    m_dryRun = dryRun;
    m_now = now;
    m_summary = Summary();
    m_leftForLater = false;
    m_local = readStore(m_storePath);
    const auto entries = m_state.entries();
    const auto absorbed = m_state.absorbed();
    QHash<QString, QString> keyOfHref;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        keyOfHref.insert(it->href, it.key());

    const CalDavClient::Changes changes = m_server.changesSince(m_state.value(QStringLiteral("sync-token")));
    QList<QString> wanted;
    for (auto it = changes.etags.cbegin(); it != changes.etags.cend(); ++it) {
        const auto key = keyOfHref.constFind(it.key());
        const QString known = key != keyOfHref.cend() ? entries.value(*key).etag : absorbed.value(it.key());
        if (known != it.value())
            wanted << it.key();
    }
    QSet<QString> removed(changes.removed.cbegin(), changes.removed.cend());
    if (changes.complete) {
        for (const SyncState::Entry &entry : entries) {
            if (!changes.etags.contains(entry.href))
                removed.insert(entry.href);
        }
    }

    QHash<QString, ServerValue> serverValues;
    QList<OtherEntry> others;
    for (const CalDavClient::Entry &fetched : m_server.fetch(wanted)) {
        const QList<JournalNote> notes = NoteJournal::parse(fetched.data);
        const QString key = keyOfHref.value(fetched.href, notes.isEmpty() ? QString() : notes.first().key);
        if (key.isEmpty()) {
            if (!dryRun)
                m_state.setAbsorbed(fetched.href, fetched.etag); // no journal entry: nothing for us
            continue;
        }
        const QString text = notes.isEmpty() ? QString() : notes.first().text;
        if (keyOfHref.contains(fetched.href) || fetched.href == m_server.hrefFor(ownFileName(key)))
            serverValues.insert(key, {fetched.href, fetched.etag, {text, notes.isEmpty() ? QString() : notes.first().colorText}});
        else
            others.append({key, fetched.href, fetched.etag, text});
    }

    QSet<QString> keySet(serverValues.keyBegin(), serverValues.keyEnd());
    for (auto it = m_local.cbegin(); it != m_local.cend(); ++it)
        keySet.insert(it.key());
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        keySet.insert(it.key());
    QStringList keys(keySet.cbegin(), keySet.cend());
    std::sort(keys.begin(), keys.end());
    const qint64 total = keys.size() + others.size();
    qint64 done = 0;
    for (const QString &key : keys) {
        const auto entry = entries.constFind(key);
        const bool gone = entry != entries.cend() && removed.contains(entry->href);
        syncKey(key, entry == entries.cend() ? std::nullopt : std::optional(*entry),
                serverValues.contains(key) ? std::optional(serverValues.value(key)) : std::nullopt, gone);
        if (progress)
            progress(++done, total);
    }
    for (const OtherEntry &other : others) {
        if (addOtherEntry(other.key, other.text) && !dryRun)
            m_state.setAbsorbed(other.href, other.etag);
        if (progress)
            progress(++done, total);
    }
    // What was left for later must come again with the next pass's changes.
    if (!dryRun && !m_leftForLater)
        m_state.setValue(QStringLiteral("sync-token"), changes.token);
    return m_summary;
}

void SyncPass::syncKey(const QString &key, std::optional<SyncState::Entry> entry, std::optional<ServerValue> server, bool removed)
{
    // A key missing from the store (not merely empty) was never typed here.
    const bool known = m_local.contains(key);
    const Value local = m_local.value(key);
    const bool localChanged = known && (!entry || entry->hash != SyncState::hashOf(local.text, local.color));
    if (!entry && !server && local.text.isEmpty())
        return;
    if (server) {
        const Value merged = localChanged ? mergedValue(local, server->value) : server->value;
        if (merged == server->value) {
            if (merged != local) {
                if (!writeStore(key, local, merged))
                    return;
                ++m_summary.downloaded;
                note(QCoreApplication::translate("SyncPass", "take %1 from the server").arg(key));
            }
            if (!m_dryRun)
                m_state.setEntry(key, {server->href, server->etag, SyncState::hashOf(merged.text, merged.color)});
            return;
        }
        if (merged != local) {
            if (!writeStore(key, local, merged))
                return;
            ++m_summary.merged;
            note(QCoreApplication::translate("SyncPass", "merge %1 with the server's").arg(key));
        } else {
            ++m_summary.uploaded;
            note(QCoreApplication::translate("SyncPass", "upload %1").arg(key));
        }
        upload(key, merged, server->href, server->etag);
        return;
    }
    if (removed && known) {
        ++m_summary.restored;
        note(QCoreApplication::translate("SyncPass", "upload %1 again, removed on the server").arg(key));
        upload(key, local, entry->href, QString());
    } else if (localChanged) {
        ++m_summary.uploaded;
        note(QCoreApplication::translate("SyncPass", "upload %1").arg(key));
        upload(key, local, entry ? entry->href : m_server.hrefFor(ownFileName(key)), entry ? entry->etag : QString());
    }
}

// Adds another program's entry below the note; false when the note must wait
// for the next pass, because the planner typed into it meanwhile.
bool SyncPass::addOtherEntry(const QString &key, const QString &text)
{
    const Value local = m_local.value(key);
    if (text.isEmpty() || local.text.contains(text))
        return true;
    const Value added{local.text.isEmpty() ? text : local.text + u'\n' + text, local.color};
    if (!writeStore(key, local, added))
        return false;
    ++m_summary.added;
    note(QCoreApplication::translate("SyncPass", "add another program's entry to %1").arg(key));
    // This pass may have uploaded the note already: go on from that entry.
    const auto entry = m_state.entry(key);
    upload(key, added, entry ? entry->href : m_server.hrefFor(ownFileName(key)), entry ? entry->etag : QString());
    return true;
}

void SyncPass::upload(const QString &key, Value value, const QString &href, QString etag)
{
    if (m_dryRun)
        return;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const JournalNote journal = NoteJournal::fromKey(key, value.text, value.color);
        const CalDavClient::Reply reply = m_server.put(href, NoteJournal::calendarText(journal, m_now), etag);
        if (reply.status != 412) {
            m_state.setEntry(key, {href, reply.etag, SyncState::hashOf(value.text, value.color)});
            return;
        }
        // Someone wrote in between: merge with what is there now.
        const QList<CalDavClient::Entry> now = m_server.fetch({href});
        if (now.isEmpty()) {
            etag.clear();
            continue;
        }
        const QList<JournalNote> notes = NoteJournal::parse(now.first().data);
        const Value there = notes.isEmpty() ? Value() : Value{notes.first().text, notes.first().colorText};
        const Value merged = mergedValue(value, there);
        if (!writeStore(key, value, merged))
            return;
        if (merged == there) {
            m_state.setEntry(key, {href, now.first().etag, SyncState::hashOf(there.text, there.color)});
            return;
        }
        value = merged;
        etag = now.first().etag;
    }
}

bool SyncPass::writeStore(const QString &key, const Value &from, const Value &to)
{
    if (m_dryRun) {
        m_local.insert(key, to); // later steps of the dry run see what this one would have written
        return true;
    }
    const QString colorKey = Settings::noteColorKeyOf(key);
    // The planner may have stored a keystroke since the store was read: that
    // note waits for the next pass rather than lose the keystroke.
    const Value current{GetSetting(Settings::Application, Settings::Section, key),
                        GetSetting(Settings::Application, Settings::Section, colorKey)};
    if (current != from) {
        m_leftForLater = true;
        return false;
    }
    if (to.text != from.text)
        SaveSetting(Settings::Application, Settings::Section, key, to.text);
    if (!to.color.isEmpty() && to.color != from.color)
        SaveSetting(Settings::Application, Settings::Section, colorKey, to.color);
    m_local.insert(key, to);
    return true;
}

void SyncPass::note(const QString &change)
{
    m_summary.changes << change;
}

SyncPass::Value SyncPass::mergedValue(const Value &local, const Value &server)
{
    Value merged{local.text, local.color.isEmpty() ? server.color : local.color};
    if (server.text.contains(local.text))
        merged.text = server.text;
    else if (!local.text.contains(server.text))
        merged.text = local.text + u'\n' + MergeLine + u'\n' + server.text;
    return merged;
}
