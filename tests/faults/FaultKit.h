#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

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

// How many cells of the panel are shown; -1 when a caption and its note box disagree.
int shownCells(const MonthPanel *panel);

// Types text into the widget, one key event per character (a line feed is Return).
void typeText(QWidget *widget, const QString &text);
// Moves the keyboard focus to the widget as Tab or a click would.
void giveFocus(QWidget *widget);

} // namespace FaultKit
