// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers::yearOf, which decides whether a panel shows days: a run of ASCII
// digits worth 100 to 9999, leading zeros allowed, nothing else. Checked
// against the digits themselves, so a long run cannot overflow the answer.
#include "FuzzInput.h"

#include "platform/Numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = textOf(data, size);
    const std::optional<int> year = Numbers::yearOf(input);

    bool allDigits = !input.isEmpty();
    for (QChar c : input)
        allDigits = allDigits && c >= u'0' && c <= u'9';
    QString significant = input;
    while (significant.startsWith(u'0'))
        significant.remove(0, 1);
    const bool inRange = allDigits && significant.size() >= 3 && significant.size() <= 4;

    FUZZ_CHECK(year.has_value() == inRange, "yearOf accepts a text outside 100..9999 or refuses one inside");
    if (year) {
        FUZZ_CHECK(*year >= 100 && *year <= 9999, "year out of range");
        FUZZ_CHECK(QString::number(*year) == significant, "yearOf read another value");
        FUZZ_CHECK(Numbers::isNumber(input), "a year that the year box would replace");
    }
    return 0;
}
