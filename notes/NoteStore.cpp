// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/NoteStore.h"

#include "platform/BgrColor.h"
#include "platform/Failure.h"
#include "platform/Numbers.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>

namespace {

// A colour the window itself could have stored: one from the colour dialog.
bool isStorableColor(const QString &color)
{
    const auto value = Numbers::parseInt32(color);
    return value && BgrColor::isOrdinary(*value);
}

} // namespace

NoteStore::NoteStore(const QString &path)
    : m_store(std::make_unique<SettingsStore>(path))
{
}

NoteStore::~NoteStore() = default;

const QString &NoteStore::path() const
{
    return m_store->path();
}

QHash<QString, Note> NoteStore::read()
{
    QHash<QString, Note> notes;
    QHash<QString, QString> colors;
    for (const auto &[key, value] : m_store->readAll(Settings::Application, Settings::Section)) {
        if (auto note = Note::fromKey(key, value))
            notes.insert(key, std::move(*note));
        else if (NoteKey::isColor(key))
            colors.insert(key, value);
    }
    for (Note &note : notes)
        note.color = colors.value(NoteKey::colorOf(note.key));
    return notes;
}

std::optional<Note> NoteStore::readNote(const QString &key)
{
    const auto text = m_store->read(Settings::Application, Settings::Section, key);
    if (!text)
        return std::nullopt;
    const QString color = m_store->read(Settings::Application, Settings::Section, NoteKey::colorOf(key)).value_or(QString());
    return Note::fromKey(key, *text, color);
}

namespace {

bool holds(const std::optional<Note> &current, const std::optional<Note> &expected)
{
    return current.has_value() == expected.has_value()
           && (!current || (current->text == expected->text && current->color == expected->color));
}

} // namespace

bool NoteStore::move(const Note &from, const std::optional<Note> &into, const Note &next)
{
    if (!NoteKey::isText(from.key) || !NoteKey::isText(next.key) || from.key == next.key)
        throw Failure(QCoreApplication::translate("NoteStore", "\"%1\" is not the key of a note; nothing was written.").arg(next.key.left(80)));
    bool moved = false;
    m_store->inTransaction([&] {
        if (!holds(readNote(from.key), from))
            return;
        const std::optional<Note> current = readNote(next.key);
        if (!holds(current, into))
            return;
        if (!current || current->text != next.text)
            m_store->save(Settings::Application, Settings::Section, next.key, next.text);
        if (isStorableColor(next.color) && (!current || current->color != next.color))
            m_store->save(Settings::Application, Settings::Section, NoteKey::colorOf(next.key), next.color);
        m_store->remove(Settings::Application, Settings::Section, from.key);
        m_store->remove(Settings::Application, Settings::Section, NoteKey::colorOf(from.key));
        moved = true;
    });
    return moved;
}

bool NoteStore::replace(const std::optional<Note> &expected, const Note &next)
{
    return replaceAll({{expected, next}}).first();
}

QList<bool> NoteStore::replaceAll(const QList<Replacement> &replacements)
{
    for (const Replacement &replacement : replacements) {
        if (!NoteKey::isText(replacement.next.key))
            throw Failure(QCoreApplication::translate("NoteStore", "\"%1\" is not the key of a note; nothing was written.")
                              .arg(replacement.next.key.left(80)));
    }
    QList<bool> replaced;
    m_store->inTransaction([&] {
        replaced.clear();
        for (const Replacement &replacement : replacements)
            replaced << replaceInTransaction(replacement);
    });
    return replaced;
}

bool NoteStore::replaceInTransaction(const Replacement &replacement)
{
    const auto &[expected, next] = replacement;
    const std::optional<Note> current = readNote(next.key);
    if (current.has_value() != expected.has_value() || (current && (current->text != expected->text || current->color != expected->color)))
        return false;
    if (!current || current->text != next.text)
        m_store->save(Settings::Application, Settings::Section, next.key, next.text);
    if (isStorableColor(next.color) && (!current || current->color != next.color))
        m_store->save(Settings::Application, Settings::Section, NoteKey::colorOf(next.key), next.color);
    return true;
}
