// SPDX-License-Identifier: GPL-3.0-or-later
#include "notes/DayKeys.h"

#include "notes/NoteKey.h"

#include <algorithm>

namespace {

QDate dateOf(const QString &key)
{
    return NoteKey::parse(key).value_or(NoteKey::Parts{}).date;
}

} // namespace

DayKeys::DayKeys(const QLocale &language, const QStringList &keys)
    : m_language(language)
{
    QStringList sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (const QString &key : std::as_const(sorted)) {
        const QDate date = dateOf(key);
        if (!date.isValid())
            continue;
        const auto held = m_keyOfDay.constFind(date);
        if (held == m_keyOfDay.cend()) {
            m_keyOfDay.insert(date, key);
        } else if (key == NoteKey::forDay(date, m_language)) {
            m_shadowed << *held;
            m_keyOfDay.insert(date, key);
        } else {
            m_shadowed << key;
        }
    }
}

QString DayKeys::keyFor(const QDate &date) const
{
    return m_keyOfDay.value(date, NoteKey::forDay(date, m_language));
}

QString DayKeys::keyOf(const QString &key) const
{
    const QDate date = dateOf(key);
    return date.isValid() ? keyFor(date) : key;
}
