// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/NotesOutput.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdio>

inline const QString NotesProgram = QStringLiteral("tavorin-notes");

// What a command speaks through: its results go to standard output or the
// file of -o (NotesOutput); messages, each starting "tavorin-notes: ", and
// progress go to standard error. Quiet leaves out progress and notes, never
// errors.
class Console
{
    Q_DECLARE_TR_FUNCTIONS(NotesCommandLine)

public:
    Console(std::FILE *out, std::FILE *err)
        : m_output(out), m_err(err)
    {
    }

    NotesOutput &output() { return m_output; }
    std::FILE *errorStream() const { return m_err; }
    bool isQuiet() const { return m_quiet; }
    void setQuiet(bool quiet) { m_quiet = quiet; }

    void write(const QByteArray &bytes) { m_output.write(bytes); }
    void write(const QString &text) { m_output.write(text.toUtf8()); }
    void message(const QString &text);
    // A message that quiet leaves out.
    void note(const QString &text);
    // Work of done out of total, in steps of ten percent; only for a person
    // watching: a log or a pipe gets no progress lines.
    void progress(const QString &what, qint64 done, qint64 total);
    // Shows text and how to get the help of the command (of the program when
    // commandName is empty); returns the exit code of a usage error.
    int usageError(const QString &text, const QString &commandName);

private:
    NotesOutput m_output;
    std::FILE *m_err;
    bool m_quiet = false;
    int m_lastPercent = -1;
};
