// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ApplicationInfo.h"

#include <QCoreApplication>

namespace {
QString folderOverride;
QString applicationTitle;
}

QString ApplicationInfo::folder()
{
    return folderOverride.isEmpty() ? QCoreApplication::applicationDirPath() : folderOverride;
}

void ApplicationInfo::setFolder(const QString &folder)
{
    folderOverride = folder;
}

QString ApplicationInfo::title()
{
    return applicationTitle;
}

void ApplicationInfo::setTitle(const QString &title)
{
    applicationTitle = title;
}
