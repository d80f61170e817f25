// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/MessageBox.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>
#include <utility>

// What every window test needs: English names, a fixed date, a private store
// that records its writes, and a message box that records instead of waiting.
namespace TestEnvironment {

void useEnglishNames();

struct ShownMessage
{
    QString title;
    QString text;
    int style;
};

// Records every message box; installed for the lifetime of the object.
class RecordedMessages
{
public:
    RecordedMessages();
    ~RecordedMessages();
    const QList<ShownMessage> &shown() const;

private:
    std::unique_ptr<MessageBox::Presenter> m_previous;
    QList<ShownMessage> *m_messages;
};

// A fresh store in a temporary folder, used by SaveSetting and GetSetting for
// the lifetime of the object; every successful write is logged in order.
class PrivateStore
{
public:
    PrivateStore();
    ~PrivateStore();

    QString path() const { return m_path; }
    // (key, value) of every successful write, in order.
    const QList<std::pair<QString, QString>> &writes() const { return *m_writes; }
    QStringList writtenKeys() const;
    void clearWrites() { m_writes->clear(); }

    // Stores a value directly, as an earlier run would have.
    void put(const QString &key, const QString &value);
    // Every key and value in the store, read past the program.
    QMap<QString, QString> contents() const;

private:
    QTemporaryDir m_folder;
    QString m_path;
    std::shared_ptr<QList<std::pair<QString, QString>>> m_writes;
};

} // namespace TestEnvironment
