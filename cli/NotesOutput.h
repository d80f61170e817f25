// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <memory>

class QFileDevice;

// Where a command's output goes: standard output, or a file that appears
// complete or not at all (written beside it, then renamed into place).
// A device or FIFO, which cannot be replaced, is written to directly.
// A failed write is reported once, naming the output, as other tools do.
class NotesOutput
{
public:
    explicit NotesOutput(std::FILE *out);
    ~NotesOutput();

    // Sends the output to path instead; "-" keeps standard output.
    void redirectTo(const QString &path);
    void write(const QByteArray &bytes);
    // Makes the output final: flushes it, or puts the file in place. Throws a
    // Failure naming the output when any of it could not be written.
    void finish();
    // Drops what was written to a file; the file keeps its former content.
    void discard();

private:
    std::FILE *m_out;
    std::unique_ptr<QFileDevice> m_file; // a QSaveFile unless a device or FIFO
    int m_error = 0; // errno of the first failed write to m_out
};
