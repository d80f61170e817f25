// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExitCode.h"

#include <QCoreApplication>

namespace ExitCode {

QString help()
{
    return QCoreApplication::translate("NotesCommandLine",
        "Exit codes:\n"
        "  0  success\n"
        "  1  search found no note, or export --format ics no note with a date\n"
        "  2  usage error: unknown command or option, missing or extra argument\n"
        "  3  store or file error: the store or FILE is missing, unreadable, not a\n"
        "     notes store or damaged, or the output cannot be written\n"
        "  4  sync: network error, the server cannot be reached\n"
        "  5  sync: the server refused the login\n"
        "  6  sync: server error, the server failed or answered what it should not\n");
}

} // namespace ExitCode
