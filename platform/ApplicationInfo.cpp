// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ApplicationInfo.h"

#include <QCoreApplication>

namespace ApplicationInfo {

namespace {
QString folderOverride;
QString applicationTitle;
}

QString folder()
{
    return folderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : folderOverride;
}

void setFolderForTesting(const QString &folder)
{
    folderOverride = folder;
}

QString title()
{
    return applicationTitle;
}

void setTitle(const QString &title)
{
    applicationTitle = title;
}

} // namespace ApplicationInfo
