// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NotesCommandLine.h"
#include "platform/Translations.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavorin-notes"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVORIN_VERSION));
    Translations::install({QStringLiteral("planner"), QStringLiteral("notes")});
    const int code = NotesCommandLine(stdout, stderr).run(QCoreApplication::arguments());
    // Output that could not be written in full must not pass for success.
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return code == NotesCommandLine::Ok ? NotesCommandLine::StoreError : code;
    return code;
}
