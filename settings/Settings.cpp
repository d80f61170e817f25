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

} // namespace

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
