// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Numbers.h"

namespace Numbers {

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The value of a run of ASCII digits, or nothing when it has another character
// or exceeds limit.
std::optional<qint64> digitsValue(QStringView digits, qint64 limit)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (QChar c : digits) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

} // namespace

bool isNumber(const QString &text)
{
    QStringView rest(text);
    if (rest.startsWith(u'+') || rest.startsWith(u'-'))
        rest = rest.mid(1);
    bool sawDigit = false;
    bool sawPoint = false;
    for (QChar c : rest) {
        if (isAsciiDigit(c)) {
            sawDigit = true;
        } else if (c == u'.' && !sawPoint) {
            sawPoint = true;
        } else {
            return false;
        }
    }
    return sawDigit;
}

std::optional<int> yearOf(const QString &text)
{
    const auto value = digitsValue(text, 9999);
    if (!value || *value < 100)
        return std::nullopt;
    return int(*value);
}

std::optional<qint32> parseInt32(const QString &text)
{
    const bool negative = text.startsWith(u'-');
    const qint64 limit = negative ? qint64(INT32_MAX) + 1 : qint64(INT32_MAX);
    const auto magnitude = digitsValue(QStringView(text).mid(negative ? 1 : 0), limit);
    if (!magnitude)
        return std::nullopt;
    return qint32(negative ? -*magnitude : *magnitude);
}

} // namespace Numbers
