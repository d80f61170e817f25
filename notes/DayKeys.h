// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QLocale>
#include <QMap>
#include <QString>
#include <QStringList>

// Which key this machine keeps the note of each day under. The key of a day
// carries the month's name in the language of the window that wrote it, so
// one day may come with keys of several languages ("March_2024_txtNote_5",
// "März_2024_txtNote_5"); here it is kept under one: the key that already
// holds it, the window's own before any other, else the key the window
// builds for that day in this machine's language.
class DayKeys
{
public:
    DayKeys() = default;
    // keys: those in use here (notes with text, notes sync knows).
    DayKeys(const QLocale &language, const QStringList &keys);

    // The key of date here.
    QString keyFor(const QDate &date) const;
    // The key here of the note another machine keeps under key; key itself
    // when it names no date.
    QString keyOf(const QString &key) const;
    // Keys in use that name a day kept under another key here.
    const QStringList &shadowed() const { return m_shadowed; }

private:
    QLocale m_language;
    QMap<QDate, QString> m_keyOfDay;
    QStringList m_shadowed;
};
