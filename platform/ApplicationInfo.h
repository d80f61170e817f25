#pragma once

#include <QString>

// The application folder and the application title.
namespace ApplicationInfo {

// The folder that holds the program's executable.
QString folder();
void setFolderForTesting(const QString &folder); // empty returns to the real one

// The process-wide title of the running application. It is kept here and not
// as Qt's applicationDisplayName, which Qt would append to every window caption
// on Linux ("Tavorin Planner — Tavorin").
QString title();
void setTitle(const QString &title);

} // namespace ApplicationInfo
