// SPDX-License-Identifier: GPL-3.0-or-later
// An iCalendar text from a server or a file becomes notes only through
// NoteJournal: whatever it holds, reading it ends with entries or a Failure,
// never a crash or a hang, and an entry names a note only by a note key, with
// a colour the window can store or none.
#include "FuzzInput.h"

#include "notes/Note.h"
#include "notes/NoteJournal.h"
#include "platform/Failure.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray calendar(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString input = textOf(data, size);
    QList<NoteJournal::Entry> entries;
    try {
        entries = NoteJournal::parse(calendar);
    } catch (const Failure &) {
        return 0;
    }
    for (const NoteJournal::Entry &entry : entries) {
        const QString key = entry.noteKey();
        FUZZ_CHECK(key.isEmpty() || NoteKey::isText(key), "an entry names a note only by a note key");
        const std::optional<Note> note = Note::fromKey(key, entry.textOver(QString()),
                                                       Note::isStorableColor(entry.color) ? entry.color : QString());
        if (!note)
            continue;
        // What we read we can write again, and read back to the same note.
        const QByteArray again = NoteJournal::calendarText(*note, QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC));
        const QList<NoteJournal::Entry> back = NoteJournal::parse(again);
        FUZZ_CHECK(back.size() == 1 && back.first().key == note->key, "a note's entry reads back under its key");
        FUZZ_CHECK(back.first().textOver(QString()) == note->text, "a note's entry reads back to its text");
    }
    return 0;
}
