// SPDX-License-Identifier: GPL-3.0-or-later
// OleColor::fromStoredText, the strict reading of a stored colour: an optional
// '-' and ASCII digits within the signed 32-bit range, or a Failure that
// quotes the text. Its value goes on to toQColor, which either gives a colour
// or fails; and every value read back from its own text is the same value.
#include "FuzzInput.h"

#include "platform/Failure.h"
#include "platform/OleColor.h"

#include <QApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv); // toQColor reads system colours from its palette
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = textOf(data, size);

    // The reference: sign and digits, compared as a long decimal number.
    const bool negative = input.startsWith(u'-');
    QString digits = input.mid(negative ? 1 : 0);
    bool wellFormed = !digits.isEmpty();
    for (QChar c : digits)
        wellFormed = wellFormed && c >= u'0' && c <= u'9';
    while (digits.size() > 1 && digits.startsWith(u'0'))
        digits.remove(0, 1);
    const QString limit = negative ? QStringLiteral("2147483648") : QStringLiteral("2147483647");
    const bool inRange = wellFormed && (digits.size() < limit.size() || (digits.size() == limit.size() && digits <= limit));

    try {
        const qint32 value = OleColor::fromStoredText(input);
        FUZZ_CHECK(inRange, "a text outside the rule was read as a colour");
        FUZZ_CHECK(QString::number(qAbs(qint64(value))) == digits, "read another value");
        FUZZ_CHECK(OleColor::fromStoredText(OleColor::toStoredText(value)) == value, "no round trip");
        try {
            const QColor color = OleColor::toQColor(value);
            FUZZ_CHECK(color.isValid(), "an invalid colour");
            if (value >= 0)
                FUZZ_CHECK(OleColor::fromQColor(color) == value, "an ordinary colour changed on its way");
        } catch (const Failure &failure) {
            FUZZ_CHECK(value < 0 || value > 0xFFFFFF, "an ordinary colour was refused");
            FUZZ_CHECK(!failure.description().isEmpty(), "a failure without a description");
        }
    } catch (const Failure &failure) {
        FUZZ_CHECK(!inRange, "a well-formed value was refused");
        FUZZ_CHECK(failure.description().contains(input.left(80)), "the failure does not quote the text");
    }
    return 0;
}
