// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

// "tavorin-notes sync": the setup of the server, one two-way pass, a dry run
// and the status of the last pass. Results go to standard output; messages
// and progress to standard error.
class SyncCommandLine
{
    Q_DECLARE_TR_FUNCTIONS(SyncCommandLine)

public:
    SyncCommandLine(std::FILE *out, std::FILE *err)
        : m_out(out), m_err(err)
    {
    }

    // arguments: the program's name, then everything after "sync"; quiet: no progress.
    int run(const QStringList &arguments, const QString &storePath, bool quiet);

    static QString help();

private:
    int setup(const QString &url, const QString &user, const QString &passwordCommand);
    int pass(bool dryRun);
    int status();

    void write(const QString &text);
    void message(const QString &text);

    std::FILE *m_out;
    std::FILE *m_err;
    QString m_storePath;
    bool m_quiet = false;
};
