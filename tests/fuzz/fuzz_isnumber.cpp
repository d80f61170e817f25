// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers::isNumber, the year box's test of its text, against a regular
// expression of the same rule: an optional sign, then ASCII digits with at
// most one '.', and at least one digit.
#include "FuzzInput.h"

#include "platform/Numbers.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = textOf(data, size);
    static const QRegularExpression number(QStringLiteral("\\A[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)\\z"));
    const bool isNumber = Numbers::isNumber(input);
    FUZZ_CHECK(isNumber == number.match(input).hasMatch(), "isNumber disagrees with the rule");
    if (isNumber)
        FUZZ_CHECK(input.trimmed() == input && !input.isEmpty(), "a number with blanks");
    return 0;
}
