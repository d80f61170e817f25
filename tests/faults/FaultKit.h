// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <optional>

#include <sys/types.h>

class MonthPanel;
class QWidget;

// What the fault tests share: reading a store file past the program, and
// driving the window as a user would.
namespace FaultKit {

// "ok" when SQLite's integrity check finds the file sound, else what it found.
QString integrityOf(const QString &storePath);
// The value stored under key in the planner's section, read past the program.
std::optional<QString> storedValue(const QString &storePath, const QString &key);
// The file's bytes, hashed; empty for a file that cannot be read.
QByteArray digestOf(const QString &path);
// The names in a folder, sorted.
QStringList namesIn(const QString &folder);
// The file's inode number, 0 when there is no file.
ino_t inodeOf(const QString &path);

// Bytes that are no store: the same for the same seed.
QByteArray randomBytes(int size, quint32 seed);
// The bytes of another program's database, made by running sql.
QByteArray foreignDatabase(const char *sql);

// How many cells of the panel are shown; -1 when a caption and its note box disagree.
int shownCells(const MonthPanel *panel);

// Types text into the widget, one key event per character (a line feed is Return).
void typeText(QWidget *widget, const QString &text);
// Moves the keyboard focus to the widget as Tab or a click would.
void giveFocus(QWidget *widget);

// The planner_typist program (see typist.cpp) in its command mode: the planner's
// window in a process of its own, typed into on request. Ended when destroyed.
class Typist
{
public:
    // Starts it on note box cell of panel 1 with home as HOME and XDG base;
    // runAs, when not 0, is the user id it runs under (the caller being root).
    Typist(const QString &program, const QString &home, int cell, uid_t runAs = 0);
    ~Typist();

    // Waits (bounded) until the window is up; false when it is not.
    bool waitUntilReady();
    // Types text and waits (bounded) until every keystroke has returned; false otherwise.
    bool type(const QString &text);
    // Ends it with "quit"; its exit code, or -1 when it did not end normally.
    int quit();

    // Every message box it was shown, as "message <title>: <text>".
    const QStringList &messages() const { return m_messages; }
    QString output() const { return QString::fromUtf8(m_output); }

private:
    bool waitForLine(const QByteArray &line);

    QProcess m_process;
    QByteArray m_output;
    qsizetype m_parsed = 0;
    QStringList m_messages;
};

} // namespace FaultKit
