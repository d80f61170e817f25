// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

class Console;
class QCommandLineParser;

// One command of tavorin-notes: its name, its usage, its help, the options it
// takes and what it does. NotesCommandLine finds it by name, parses its
// options together with those every command takes (--store, -q, -h) and
// answers --help; the command checks its arguments and runs.
// A command of two words ("sync setup") takes the options of the command of
// its first word: it is told from that one by its second word, which is the
// first argument after the options are parsed.
class Command
{
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    // What a command runs with.
    struct Call
    {
        const QCommandLineParser &parser; // its options
        QStringList arguments;            // those after its name
        QString storePath;
        Console &console;
    };

    virtual ~Command() = default;

    virtual QString name() const = 0;
    // What follows the name in its usage: "FILE", "[--format FORMAT]".
    virtual QString arguments() const { return {}; }
    // Its line in the program's help; empty for a command that another's line describes.
    virtual QString summary() const = 0;
    virtual QString help() const = 0;
    // Its options besides --store, -q and -h.
    virtual QList<QCommandLineOption> options() const { return {}; }
    // Returns the exit code. A Failure it throws is reported by the caller,
    // as a store or file error.
    virtual int run(const Call &call) const = 0;

    // Shows text and how to get this command's help; returns the exit code of a usage error.
    virtual int usageError(Console &console, const QString &text) const;

protected:
    // The help of most commands: the usage, details, the options, the exit codes.
    QString standardHelp(const QString &details, bool withSelection = false) const;
    // True when exactly count arguments came and the first is not empty;
    // else reports the usage error.
    bool checkArguments(const Call &call, qsizetype count) const;
};
