// SPDX-License-Identifier: GPL-3.0-or-later
// A server's multistatus answer (PROPFIND, REPORT) is read by Multistatus:
// whatever it holds, that ends with the responses or a SyncFailure, never a
// crash or a hang, and a failure's text is bounded and has no control
// characters that a terminal would act on.
#include "FuzzInput.h"

#include "sync/Collection.h"
#include "sync/caldav/Multistatus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString input = textOf(data, size);
    try {
        const Multistatus answer = Multistatus::parse(body, QStringLiteral("http://127.0.0.1:1"));
        FUZZ_CHECK(answer.responses.size() <= body.size() / 20, "no response without its element");
    } catch (const SyncFailure &failure) {
        FUZZ_CHECK(failure.description.size() < 600, "a failure's text is bounded");
        for (QChar c : failure.description)
            FUZZ_CHECK(c.category() != QChar::Other_Control, "a failure's text has no control characters");
    }
    return 0;
}
