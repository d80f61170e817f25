// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/NotesOutput.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdio>

struct Note;
class QCommandLineParser;

// The command line of tavorin-notes: reads the planner's notes without
// writing to its store, exports them, and backs the store up or restores it.
// Notes go to standard output or a file; messages and progress to standard
// error.
class NotesCommandLine
{
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    // Exit codes that scripts can rely on.
    enum ExitCode { Ok = 0, NothingFound = 1, UsageError = 2, StoreError = 3, NetworkError = 4, LoginRefused = 5, ServerError = 6 };

    NotesCommandLine(std::FILE *out, std::FILE *err)
        : m_out(out), m_output(out), m_err(err)
    {
    }

    // The exit codes as the help of every command lists them.
    static QString exitCodesHelp();

    // Runs the command that arguments (the program's, name first) give.
    // Output that could not be written in full never passes for success:
    // the output is flushed and checked here, and the failure named.
    int run(const QStringList &arguments);

private:
    struct Command;
    static const QList<Command> &commands();

    int runArguments(const QStringList &arguments);
    int runCommand(const Command &command, const QStringList &arguments);
    QString readSelection(const QCommandLineParser &parser);
    int list();
    int search(const QString &text);
    int exportNotes(const QString &formatName);
    int importNotes(const QString &file, bool dryRun);
    int backup(const QString &file);
    int restore(const QString &file, bool force);

    QList<Note> readNotes();
    void printNotes(const QList<Note> &notes);
    void reportProgress(const QString &what, qint64 done, qint64 total);

    QString programHelp() const;
    QString commandHelp(const Command &command) const;
    int usageError(const QString &message, const QString &helpHint);
    void write(const QByteArray &bytes);
    void message(const QString &text);

    std::FILE *m_out; // for sync, which writes its own output
    NotesOutput m_output;
    std::FILE *m_err;
    QString m_storePath;
    bool m_quiet = false;
    QDate m_from; // the first day of notes to take; invalid: no limit
    QDate m_to;   // the last
    int m_lastPercent = -1;
};
