// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/Settings.h"

#include "settings/SettingsStore.h"

#include <memory>

namespace Settings {

namespace {

quint64 savedCount = 0;

std::unique_ptr<SettingsStore> &currentStore()
{
    static std::unique_ptr<SettingsStore> instance;
    return instance;
}

QString noteKey(const QString &monthText, const QString &yearText, const QString &infix, int cellIndex)
{
    return monthText + u'_' + yearText + infix + QString::number(cellIndex);
}

} // namespace

QString noteTextKey(const QString &monthText, const QString &yearText, int cellIndex)
{
    return noteKey(monthText, yearText, NoteTextInfix, cellIndex);
}

QString noteColorKey(const QString &monthText, const QString &yearText, int cellIndex)
{
    return noteKey(monthText, yearText, NoteColorInfix, cellIndex);
}

QString noteColorKeyOf(const QString &textKey)
{
    QString key = textKey;
    return key.replace(key.lastIndexOf(NoteTextInfix), NoteTextInfix.size(), NoteColorInfix);
}

SettingsStore &store()
{
    auto &instance = currentStore();
    if (!instance)
        instance = std::make_unique<SettingsStore>(SettingsStore::defaultPath());
    return *instance;
}

quint64 completedSaves()
{
    return savedCount;
}

void useStoreAt(const QString &path)
{
    currentStore() = path.isEmpty() ? nullptr : std::make_unique<SettingsStore>(path);
}

} // namespace Settings

void SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value)
{
    Settings::store().save(application, section, key, value);
    ++Settings::savedCount;
}

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    return Settings::store().read(application, section, key).value_or(defaultValue);
}

QString GetSetting(const QString &application, const QString &section, const QString &key, int defaultValue)
{
    return GetSetting(application, section, key, QString::number(defaultValue));
}
