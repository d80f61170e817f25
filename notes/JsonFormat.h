// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/ExportFormat.h"

// One JSON document: {"application", "section", "notes": [...]}, a note an
// object with its key, month, year, day, date (ISO, or null), text and colour
// (0x00BBGGRR as a number, or null).
class JsonFormat : public ExportFormat
{
public:
    QByteArray begin() override;
    QByteArray note(const Note &note) override;
    QByteArray end() override;

private:
    bool m_first = true;
};
