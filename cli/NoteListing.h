// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/Note.h"

#include <QList>

class Console;

// The output of list and search: one line per note, tab-separated: the date
// (or "-"), the month, the year, the day and the text, written so that
// nothing in a note can break the line or reach the terminal.
namespace NoteListing {

void print(const QList<Note> &notes, Console &console);

} // namespace NoteListing
