// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/MemoryCollection.h"

namespace {

const QString TokenPrefix = QStringLiteral("memory-token-");

} // namespace

Collection::Changes MemoryCollection::changesSince(const QString &token)
{
    ++m_requests;
    bool known = token.startsWith(TokenPrefix);
    const qint64 since = known ? token.mid(TokenPrefix.size()).toLongLong(&known) : 0;
    Changes changes;
    changes.complete = !known || since > m_version;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!changes.complete && it->changed <= since)
            continue;
        if (it->removed) {
            if (!changes.complete)
                changes.removed << it.key();
        } else {
            changes.etags.insert(it.key(), it->etag);
        }
    }
    changes.token = TokenPrefix + QString::number(m_version);
    return changes;
}

QList<Collection::Entry> MemoryCollection::fetch(const QStringList &hrefs)
{
    ++m_requests;
    QList<Entry> entries;
    for (const QString &href : hrefs) {
        const auto it = m_entries.constFind(href);
        if (it != m_entries.cend() && !it->removed)
            entries.append({href, it->etag, it->data});
    }
    return entries;
}

Collection::Put MemoryCollection::put(const QString &href, const QByteArray &data, const QString &etag)
{
    ++m_requests;
    const auto it = m_entries.constFind(href);
    const bool exists = it != m_entries.cend() && !it->removed;
    if (etag.isEmpty() ? exists : (!exists || it->etag != etag))
        return {Put::Conflict, {}, {}};
    return {Put::Stored, store(href, data), {}};
}

Collection::Put MemoryCollection::removeEntry(const QString &href, const QString &etag)
{
    ++m_requests;
    const auto it = m_entries.constFind(href);
    if (it == m_entries.cend() || it->removed)
        return {Put::Stored, {}, {}};
    if (it->etag != etag)
        return {Put::Conflict, {}, {}};
    remove(href);
    return {Put::Stored, {}, {}};
}

QString MemoryCollection::hrefFor(const QString &fileName) const
{
    return QStringLiteral("/calendar/") + fileName;
}

void MemoryCollection::write(const QString &href, const QByteArray &data)
{
    store(href, data);
}

void MemoryCollection::remove(const QString &href)
{
    auto it = m_entries.find(href);
    if (it == m_entries.end() || it->removed)
        return;
    it->removed = true;
    it->data.clear();
    it->changed = ++m_version;
}

QMap<QString, QByteArray> MemoryCollection::contents() const
{
    QMap<QString, QByteArray> result;
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        if (!it->removed)
            result.insert(it.key(), it->data);
    }
    return result;
}

QString MemoryCollection::store(const QString &href, const QByteArray &data)
{
    Stored &entry = m_entries[href];
    entry.data = data;
    entry.removed = false;
    entry.changed = ++m_version;
    entry.etag = QStringLiteral("\"%1\"").arg(m_version);
    return entry.etag;
}
