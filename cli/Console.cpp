// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Console.h"

#include "cli/ExitCode.h"

#include <unistd.h>

namespace {

// Work of more than this many notes or pages reports its progress.
constexpr qint64 LongWork = 2000;

} // namespace

void Console::message(const QString &text)
{
    std::fprintf(m_err, "%s: %s\n", qPrintable(NotesProgram), text.toLocal8Bit().constData());
    std::fflush(m_err);
}

void Console::note(const QString &text)
{
    if (!m_quiet)
        message(text);
}

void Console::progress(const QString &what, qint64 done, qint64 total)
{
    if (m_quiet || total <= LongWork || !::isatty(fileno(m_err)))
        return;
    const int percent = int(done * 100 / total);
    if (percent / 10 == m_lastPercent / 10 && done != total)
        return;
    m_lastPercent = percent;
    message(tr("%1: %2 of %3 (%4%)").arg(what).arg(done).arg(total).arg(percent));
}

int Console::usageError(const QString &text, const QString &commandName)
{
    message(text);
    message(tr("Try \"%1%2 --help\".").arg(NotesProgram, commandName.isEmpty() ? QString() : u' ' + commandName));
    return ExitCode::UsageError;
}
