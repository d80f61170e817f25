// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A WebDAV multistatus answer (RFC 4918) as CalDAV servers send it to
// PROPFIND and REPORT: one response per href, with the properties the server
// found. Hrefs are paths, percent-decoded.
struct Multistatus
{
    struct Response
    {
        QString href;
        int status = 200;
        // The properties found (status 200): their text, the hrefs inside them
        // and their children's names ("calendar", or "VJOURNAL" of a comp).
        QHash<QString, QString> text;
        QHash<QString, QStringList> hrefs;
        QHash<QString, QStringList> children;
    };

    QList<Response> responses;
    QString syncToken;

    // The answer in body; a SyncFailure naming server and the line when it
    // is no complete, well-formed multistatus (cut short, garbled).
    static Multistatus parse(const QByteArray &body, const QString &server);
};
