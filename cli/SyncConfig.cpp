// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/SyncConfig.h"

#include "platform/Failure.h"
#include "settings/StoreFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

// GLib's headers use "signals" as a name, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")
#include <sys/stat.h>
#include <unistd.h>

namespace {

const SecretSchema *passwordSchema()
{
    static const SecretSchema schema = {
        "org.quillmere.TavorinPlanner.Sync", SECRET_SCHEMA_NONE,
        {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING}, {"user", SECRET_SCHEMA_ATTRIBUTE_STRING}, {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &schema;
}

// Without a session bus there is no keyring to ask, and asking would only wait.
bool sessionBusPresent()
{
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/bus"));
}

// The keyring knows the password by server and user, whichever collection is used.
QByteArray serverName(const QUrl &url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveUserInfo | QUrl::RemoveQuery).toString().toUtf8();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("SyncConfig", text);
}

// The file, its folder and the folder above: each the user's own and closed
// to others, or the settings are not read.
void checkPrivate(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    for (const QString &each : {path, folder, QFileInfo(folder).absolutePath()}) {
        struct stat info{};
        if (::stat(QFile::encodeName(each).constData(), &info) != 0)
            continue;
        QString problem;
        if (info.st_uid != ::geteuid())
            problem = tr("belongs to another user");
        else if (info.st_mode & (S_IWGRP | S_IWOTH))
            problem = tr("can be changed by other users (mode %1)").arg(info.st_mode & 07777, 4, 8, QChar(u'0'));
        if (!problem.isEmpty())
            throw Failure(tr("%1 %2, so the sync settings %3 are not used: its password command could be anyone's. "
                             "Make it yours and writable by you alone (chmod go-w), or remove it.")
                              .arg(each, problem, path));
    }
}

} // namespace

void SyncConfig::checkNoUserInfo(const QUrl &url)
{
    if (!url.userInfo().isEmpty())
        throw Failure(tr("The address %1 holds a user name or password, which would be kept in the settings and shown: "
                         "give the address without it, the user with --user, and the password through "
                         "--password-command or the keyring.")
                          .arg(url.adjusted(QUrl::RemoveUserInfo).toString()));
}

QString SyncConfig::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Quillmere/sync.conf");
}

SyncConfig SyncConfig::read(const QString &path)
{
    SyncConfig config;
    checkPrivate(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return config;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        const QString name = text.section(u'=', 0, 0).trimmed();
        const QString value = text.section(u'=', 1).trimmed();
        if (name == u"url")
            config.collection = QUrl(value);
        else if (name == u"user")
            config.user = value;
        else if (name == u"password-command")
            config.passwordCommand = value;
        else if (name == u"allow-insecure-http")
            config.allowInsecureHttp = value == u"yes";
        else if (name == u"timeout" && value.toInt() > 0)
            config.timeoutSeconds = value.toInt();
        else if (name == u"form")
            config.form = value == u"events" ? NoteJournal::Form::Event : NoteJournal::Form::Journal;
        else if (name == u"own-calendar")
            config.ownCalendar = value != u"no";
        else if (name == u"certificate")
            config.certificate = value;
    }
    checkNoUserInfo(config.collection);
    return config;
}

void SyncConfig::write(const QString &path) const
{
    StoreFolder::makePrivate(QFileInfo(path).absolutePath());
    checkPrivate(path);
    QByteArray text = "# tavorin-notes sync; the password is never kept here.\n"
                      "url=" + collection.toString().toUtf8() + "\nuser=" + user.toUtf8() +
                      "\npassword-command=" + passwordCommand.toUtf8() +
                      "\nform=" + (form == NoteJournal::Form::Event ? "events" : "journal") +
                      "\nown-calendar=" + (ownCalendar ? "yes" : "no") + '\n';
    if (!certificate.isEmpty())
        text += "certificate=" + certificate.toUtf8() + '\n';
    if (allowInsecureHttp)
        text += "allow-insecure-http=yes\n";
    if (timeoutSeconds != SyncConfig().timeoutSeconds)
        text += "timeout=" + QByteArray::number(timeoutSeconds) + '\n';
    // Written beside and renamed into place: a crash leaves the former settings whole.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) && ::fchmod(file.handle(), 0600) == 0
                         && file.write(text) == text.size() && file.commit();
    if (!written)
        throw Failure(QCoreApplication::translate("SyncConfig", "Cannot write the sync settings %1.").arg(path));
}

QList<QSslCertificate> SyncConfig::trustedCertificates() const
{
    if (certificate.isEmpty())
        return {};
    QFile file(certificate);
    // A certificate file is a few kilobytes; a bundle of authorities less than a megabyte.
    const QByteArray pem = file.open(QIODevice::ReadOnly) ? file.read(4 * 1024 * 1024) : QByteArray();
    QList<QSslCertificate> certificates = QSslCertificate::fromData(pem, QSsl::Pem);
    if (certificates.isEmpty())
        certificates = QSslCertificate::fromData(pem, QSsl::Der);
    if (certificates.isEmpty())
        throw Failure(QCoreApplication::translate("SyncConfig", "%1 holds no certificate (PEM or DER).").arg(certificate));
    return certificates;
}

QString SyncConfig::password() const
{
    if (sessionBusPresent()) {
        GError *error = nullptr;
        gchar *secret = secret_password_lookup_sync(passwordSchema(), nullptr, &error, "server", serverName(collection).constData(),
                                                    "user", user.toUtf8().constData(), nullptr);
        if (error)
            g_error_free(error);
        if (secret) {
            const QString password = QString::fromUtf8(secret);
            secret_password_free(secret);
            return password;
        }
    }
    if (passwordCommand.isEmpty())
        throw Failure(QCoreApplication::translate("SyncConfig", "No keyring holds the password of %1, and no password command is set up.").arg(user));
    QProcess command;
    command.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    command.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), passwordCommand});
    if (!command.waitForFinished(60000) || command.exitStatus() != QProcess::NormalExit || command.exitCode() != 0)
        throw Failure(QCoreApplication::translate("SyncConfig", "The password command failed."));
    // Like pass and secret-tool, the command prints the password on its first line.
    return QString::fromUtf8(command.readAllStandardOutput()).section(u'\n', 0, 0);
}

bool SyncConfig::storeInKeyring(const QString &password) const
{
    if (!sessionBusPresent())
        return false;
    GError *error = nullptr;
    const gboolean stored = secret_password_store_sync(passwordSchema(), SECRET_COLLECTION_DEFAULT, "Tavorin Planner sync",
                                                       password.toUtf8().constData(), nullptr, &error, "server",
                                                       serverName(collection).constData(), "user", user.toUtf8().constData(), nullptr);
    if (error)
        g_error_free(error);
    return stored;
}
