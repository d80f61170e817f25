// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The user's language for the program's own messages and help, and for Qt's
// dialogs and buttons (the colour dialog, the message box's OK). Texts that
// the window's design fixes are never looked up, so they read the same in
// every language.
namespace Translations {

// Installs Qt's own translations and those of the given catalogues of ours,
// built into the program as :/i18n/<catalogue>_<language>.qm, for the
// language of the user's locale. A language without a catalogue stays English.
void install(const QStringList &catalogues);

} // namespace Translations
