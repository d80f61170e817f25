// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/ExportFormat.h"

// A Markdown document with a heading per note and its text verbatim in a
// fenced block, so that no character of a note is read as markup.
class MarkdownFormat : public ExportFormat
{
public:
    QByteArray begin() override;
    QByteArray note(const Note &note) override;
};
