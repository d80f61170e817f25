// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

// Every option of tavorin-notes, declared once: the program and the commands
// add them to their parsers and ask the parsers for them. The help texts are
// written out in full (see help() of each command), so no option carries a
// description of its own.
namespace Options {

QCommandLineOption store();           // --store PATH
QCommandLineOption quiet();           // -q, --quiet
QCommandLineOption help();            // -h, --help
QCommandLineOption version();         // --version, before any command
QCommandLineOption format();          // --format FORMAT of export, markdown unless given
QCommandLineOption force();           // --force of restore
QCommandLineOption dryRun();          // --dry-run of import and sync
QCommandLineOption status();          // --status of sync
QCommandLineOption watch();           // --watch of sync
QCommandLineOption user();            // --user NAME of sync setup
QCommandLineOption passwordCommand(); // --password-command CMD of sync setup
QCommandLineOption allowInsecureHttp(); // --allow-insecure-http of sync setup
QCommandLineOption as();              // --as events|journal of sync setup
QCommandLineOption certificate();     // --certificate FILE of sync setup
QCommandLineOption from();            // --from DATE
QCommandLineOption to();              // --to DATE
QCommandLineOption month();           // --month YYYY-MM
QCommandLineOption output();          // -o, --output FILE

// Those every command takes: --store, -q and -h.
QList<QCommandLineOption> common();
// Those that choose the notes of list, search and export, and where they go.
QList<QCommandLineOption> selection();

// The help of the options every command takes, naming the store's default path.
QString commonHelp();
// The help of the selection options.
QString selectionHelp();

} // namespace Options
