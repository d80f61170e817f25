// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/LanguageMove.h"

#include "notes/TextMerge.h"

#include <algorithm>

namespace LanguageMove {

QList<Move> plan(const QHash<QString, Note> &notes, const QLocale &language)
{
    QStringList keys(notes.keyBegin(), notes.keyEnd());
    std::sort(keys.begin(), keys.end());
    QHash<QString, Note> after; // the new keys' notes as the moves so far leave them
    QList<Move> moves;
    for (const QString &key : std::as_const(keys)) {
        const Note &from = notes.value(key);
        if (!from.date().isValid())
            continue;
        const QString target = NoteKey::forDay(from.date(), language);
        if (target == key)
            continue;
        std::optional<Note> into;
        if (after.contains(target))
            into = after.value(target);
        else if (notes.contains(target))
            into = notes.value(target);
        Note result = into.value_or(Note::fromKey(target).value_or(Note{target, {}, {}, {}}));
        // The window's own note comes first; a note of the other language
        // only adds what it does not hold already.
        result.text = result.text.isEmpty() ? from.text : TextMerge::mergeWithoutBase(result.text, from.text).text;
        if (result.color.isEmpty())
            result.color = from.color;
        moves.append({from, into, result});
        after.insert(target, result);
    }
    return moves;
}

} // namespace LanguageMove
