// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/NoteJournal.h"

#include <QList>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

// Where sync goes: the collection, the user and how to get the password.
// Kept in $XDG_CONFIG_HOME/Quillmere/sync.conf (mode 0600), one "name=value"
// a line; the password is never in it: it comes from the Secret Service when
// a keyring answers, else from the output of the password command. The
// password command runs as the user: a file or folder someone else could
// change is refused, never read.
struct SyncConfig
{
    QUrl collection;
    QString user;
    QString passwordCommand;
    // Basic authentication over plain http to another machine, allowed at setup.
    bool allowInsecureHttp = false;
    // The deadline of one request, in seconds.
    int timeoutSeconds = 60;
    NoteJournal::Form form = NoteJournal::Form::Journal; // what the notes travel as
    bool ownCalendar = true;   // a calendar of the notes' own: others' entries there become notes
    QString certificate;       // a PEM file of certificates trusted for the server; empty: the system's only

    // The certificates of the certificate file; a Failure when it holds none.
    QList<QSslCertificate> trustedCertificates() const;

    static QString defaultPath();
    // The configuration in path; nothing read (empty collection) when missing.
    // A Failure when it or its folder belongs to another user or others may
    // change it, or when its address holds a user name or password.
    static SyncConfig read(const QString &path);
    // Writes path with mode 0600 in folders made 0700; a Failure when it cannot.
    void write(const QString &path) const;
    // A Failure when url holds a user name or password, which would be kept and shown.
    static void checkNoUserInfo(const QUrl &url);

    // The password: from the keyring, else from the command; a Failure when neither gives one.
    QString password() const;
    // Keeps password in the keyring; false when no keyring answers.
    bool storeInKeyring(const QString &password) const;
};
