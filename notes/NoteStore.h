// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "notes/Note.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class SettingsStore;

// The notes of one store for the programs that write them besides the
// window: sync and import. Only note keys are ever written here, and a note
// is only replaced when it still holds what the writer read, so that a
// keystroke the planner stored meanwhile is never overwritten.
class NoteStore
{
public:
    // Opens the store at path, making it when missing, as the planner does.
    explicit NoteStore(const QString &path);
    ~NoteStore();
    NoteStore(const NoteStore &) = delete;
    NoteStore &operator=(const NoteStore &) = delete;

    const QString &path() const;

    // Every note key the store holds, with its text and colour; an empty
    // note is there too, as it was stored.
    QHash<QString, Note> read();

    // Puts next in place of expected (nothing: the key is not in the store),
    // text and colour in one transaction. False, changing nothing, when the
    // store no longer holds expected. A colour of next that the window could
    // not have stored (empty, "abc", a system colour) leaves the stored colour
    // as it is. A key that is no note key is a Failure.
    bool replace(const std::optional<Note> &expected, const Note &next);

    // Takes the note from (text and colour keys) out of the store and puts
    // next in place of into, in one transaction; false, changing nothing,
    // when the store no longer holds from and into as given.
    bool move(const Note &from, const std::optional<Note> &into, const Note &next);
    struct Replacement
    {
        std::optional<Note> expected;
        Note next;
    };
    // Each replace of replacements, all in one transaction (one write to the
    // disk for many notes); says for each whether it was made.
    QList<bool> replaceAll(const QList<Replacement> &replacements);

private:
    std::optional<Note> readNote(const QString &key);
    bool replaceInTransaction(const Replacement &replacement);

    std::unique_ptr<SettingsStore> m_store;
};
