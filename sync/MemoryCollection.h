// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "sync/Collection.h"

#include <QMap>

// A collection held in memory, with ETags and sync tokens as a server keeps
// them: the tests drive sync's rules on it, and play the other clients (a
// phone editing an entry, someone removing or damaging one) through write()
// and remove().
class MemoryCollection : public Collection
{
public:
    Changes changesSince(const QString &token) override;
    QList<Entry> fetch(const QStringList &hrefs) override;
    Put put(const QString &href, const QByteArray &data, const QString &etag) override;
    Put removeEntry(const QString &href, const QString &etag) override;
    QString hrefFor(const QString &fileName) const override;
    int requestCount() const override { return m_requests; }

    // Writes or removes an entry as another client would, unconditionally.
    void write(const QString &href, const QByteArray &data);
    void remove(const QString &href);
    // Every entry, by href.
    QMap<QString, QByteArray> contents() const;

private:
    struct Stored
    {
        QByteArray data;
        QString etag;
        qint64 changed = 0; // the version that last wrote or removed it
        bool removed = false;
    };

    QString store(const QString &href, const QByteArray &data);

    QMap<QString, Stored> m_entries; // removed ones stay, marked, for the tokens
    qint64 m_version = 0;
    int m_requests = 0;
};
