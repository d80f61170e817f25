// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/Note.h"

#include <QList>

class StoreFile;

// The day notes of a store. A note's month is a month name as the planner
// showed it in whatever language it ran under, and its year the year box's
// text, so a key may name no date at all: such notes come last.
namespace NoteCatalogue {

// Every note with a text, dated ones in date order, then the others by key,
// with the days of one month and year in day order.
QList<Note> read(StoreFile &store);

} // namespace NoteCatalogue
