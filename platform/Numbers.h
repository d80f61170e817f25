// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

// The readings of typed and stored texts as numbers. All of them accept ASCII
// digits only, never blanks, and never overflow on a long run of digits.
namespace Numbers {

// Whether a year box's text counts as a number: an optional sign ('+' or '-'),
// then ASCII digits with at most one '.' among or around them, and at least one
// digit. No blanks, no thousands separators, no exponent, no digits of other
// scripts: "2021", "-5", "+2021", "2021.5" and ".5" are numbers; "", "20 21",
// "1e3", "2,021" and "٢٠٢١" are not.
bool isNumber(const QString &text);

// The year a year box's text names: a run of ASCII digits (leading zeros allowed)
// whose value is 100 to 9999. Anything else names no year, including signs,
// blanks, fractions and texts of one or two digits.
std::optional<int> yearOf(const QString &text);

// A signed 32-bit whole number in canonical-ish form: an optional '-' then ASCII
// digits (leading zeros allowed), within range.
std::optional<qint32> parseInt32(const QString &text);

} // namespace Numbers
