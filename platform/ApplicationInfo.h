// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The application folder and the application title.
namespace ApplicationInfo {

// The product's name: the window caption, the source of the title, and the
// name of what the companion tool makes for the planner elsewhere.
inline const QString ProductName = QStringLiteral("Tavorin Planner");

// The folder that holds the program's executable.
QString folder();
void setFolderForTesting(const QString &folder); // empty returns to the real one

// The process-wide title of the running application. It is kept here and not
// as Qt's applicationDisplayName, which Qt would append to every window caption
// on Linux ("Tavorin Planner — Tavorin").
QString title();
void setTitle(const QString &title);

} // namespace ApplicationInfo
