// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Merges two edits of one note so that nothing either side wrote is lost and
// the text both kept appears once. Lines are compared first; where both sides
// changed the same lines, their words are compared, so that edits in
// different places of one line still merge. Only edits of the same words (or
// additions at the very same place) are a conflict: the note then holds this
// machine's version of those lines, the line "— changed on another device —"
// and the other version; everything else appears once. The differences come
// from the dtl library (Wu, Manber and Myers' O(NP) algorithm).
namespace TextMerge {

inline const QString ConflictLine = QStringLiteral("— changed on another device —");

struct Result
{
    QString text;
    bool conflict = false; // both versions of some lines were kept
    bool operator==(const Result &) const = default;
};

// Both sides' edits since base, the text both last agreed on.
Result merge(const QString &base, const QString &local, const QString &other);

// Without a text both agreed on (a note restored from a copy, or typed on two
// machines before they first met): what the two texts share is taken as the
// base, so text that only one of them holds is kept as if added there.
Result mergeWithoutBase(const QString &local, const QString &other);

} // namespace TextMerge
