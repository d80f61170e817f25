// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <cstdlib>

// The fuzz input read as the text a user or a store file could hand over:
// UTF-8, with invalid sequences turned into U+FFFD as Qt does.
inline QString textOf(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Stops the run with a message that libFuzzer shows beside the input.
#define FUZZ_CHECK(condition, text)                                                      \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            qFatal("check failed: %s (%s) for \"%s\"", #condition, text,                 \
                   qPrintable(input.left(200)));                                         \
        }                                                                                \
    } while (false)
