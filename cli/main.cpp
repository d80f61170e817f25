// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/NotesCommandLine.h"
#include "platform/Translations.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavorin-notes"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVORIN_VERSION));
    Translations::install({QStringLiteral("planner"), QStringLiteral("notes")});
    return NotesCommandLine(stdout, stderr).run(QCoreApplication::arguments());
}
