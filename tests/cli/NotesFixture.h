// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class SettingsStore;

// Where the program's standard output and error go.
struct NotesStreams
{
    QString outputFile;           // standard output goes there instead of into Result::out
    bool errorToTerminal = false; // standard error is a terminal, as for a person watching
};

// A temporary home for one test: a store at the default location under its
// own XDG_DATA_HOME, filled the way the planner fills it, and the real
// tavorin-notes program run against it with a fixed English locale.
class NotesFixture
{
public:
    NotesFixture();
    ~NotesFixture();

    // The store the program uses when given no --store.
    QString storePath() const;
    // A path in the temporary folder.
    QString path(const QString &name) const;

    // Stores a note and its colour as the planner does when the user types it.
    void putNote(const QString &month, const QString &year, int cell, const QString &text, const QString &color = QStringLiteral("0"));
    // Stores texts as the notes of the month's first days, in order.
    void putNotes(const QString &month, const QString &year, const QStringList &texts);
    void put(const QString &key, const QString &value);
    // Closes the store, as a planner that ends does.
    void closeStore();

    struct Result
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    // Runs tavorin-notes with arguments; extra overrides the environment (e.g. LC_ALL).
    Result run(const QStringList &arguments, const QProcessEnvironment &extra = {}, const NotesStreams &streams = {}) const;

    // Every (key, value) of the planner's section in the store at path, read with SQLite.
    static QMap<QString, QString> contents(const QString &storePath);
    static QByteArray fileBytes(const QString &path);
    static int modeOf(const QString &path);

private:
    QTemporaryDir m_folder;
    std::unique_ptr<SettingsStore> m_store;
};
