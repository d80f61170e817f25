// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteCatalogue.h"

#include "settings/StoreFile.h"

#include <QHash>

#include <algorithm>

namespace NoteCatalogue {

namespace {

// The key without its cell number, which is compared as a number.
QStringView keyStem(const Note &note)
{
    return QStringView(note.key).chopped(QString::number(note.parts.day - 1).size());
}

bool before(const Note &a, const Note &b)
{
    if (a.date().isValid() != b.date().isValid())
        return a.date().isValid();
    if (a.date() != b.date())
        return a.date() < b.date();
    if (const int order = keyStem(a).compare(keyStem(b)); order != 0)
        return order < 0;
    return a.parts.day < b.parts.day;
}

} // namespace

QList<Note> read(StoreFile &store)
{
    QList<Note> notes;
    QHash<QString, QString> otherValues; // the colours among them
    store.readValues([&](const QString &key, const QString &value) {
        if (value.isEmpty() || !NoteKey::isText(key)) {
            otherValues.insert(key, value);
        } else if (auto note = Note::fromKey(key, value)) {
            notes.append(std::move(*note));
        }
    });
    for (Note &note : notes)
        note.color = otherValues.value(NoteKey::colorOf(note.key));
    std::sort(notes.begin(), notes.end(), before);
    return notes;
}

} // namespace NoteCatalogue
