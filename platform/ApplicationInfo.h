// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The application folder and the application title.
class ApplicationInfo
{
public:
    // The product's name: the window caption, the source of the title, and the
    // name of what the companion tool makes for the planner elsewhere.
    static inline const QString ProductName = QStringLiteral("Tavorin Planner");

    // The folder that holds the program's executable.
    static QString folder();

    // The process-wide title of the running application. It is kept here and not
    // as Qt's applicationDisplayName, which Qt would append to every window caption
    // on Linux ("Tavorin Planner — Tavorin").
    static QString title();
    static void setTitle(const QString &title);

protected:
    // Makes folder() return folder (tests); an empty one returns to the real folder.
    static void setFolder(const QString &folder);
};
