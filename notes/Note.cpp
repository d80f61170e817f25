// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/Note.h"

#include "platform/BgrColor.h"
#include "platform/Numbers.h"

std::optional<Note> Note::fromKey(const QString &key, const QString &text, const QString &color)
{
    auto parts = NoteKey::parse(key);
    if (!parts)
        return std::nullopt;
    return Note{key, text, color, std::move(*parts)};
}

std::optional<qint32> Note::colorValue() const
{
    return Numbers::parseInt32(color);
}

bool Note::isStorableColor(const QString &color)
{
    const auto value = Numbers::parseInt32(color);
    return value && BgrColor::isOrdinary(*value);
}
