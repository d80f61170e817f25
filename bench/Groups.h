// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Measure.h"

#include <QString>
#include <map>

// The benchmark groups. Each measures through the program's own code, except
// the baselines, and adds its figures to results.

// The filled stores: their paths by number of notes. The groups that use them
// take turns between them in rounds, so that a change in the load of the
// machine during the run falls on every number of notes alike.
using Stores = std::map<int, QString>;

// One keystroke's two writes: through SaveSetting into each store, against the
// floor (the same bytes appended to a file in folder and made durable), and
// through QSettings in INI format with as many entries, in folder.
void measureWrites(const QString &folder, const Stores &stores, Results &results);

// RefreshCalendar on a shown window, one window for each store.
void measureRefresh(const Stores &stores, Results &results);

// Start-up to the first paint and peak memory of the planner, with a store of
// `notes` notes in folder, against a bare window of the same widgets started
// in turns with it.
void measureStartup(const QString &folder, int notes, Results &results);

// The table of every figure with its ratio to its baseline (Markdown), and the
// write latencies by number of notes for the plot (whitespace-separated columns).
void printTable(const Results &results);
void writePlotData(const Results &results, const QString &path);
