// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

class QWidget;

// The program's message box: a modal box with a title, a text, an icon and one
// OK button. The style value picks the icon as the program's messages name it:
// 16 critical, 32 question, 48 warning, 64 information.
namespace MessageBox {

inline constexpr int Warning = 48;

class Presenter
{
public:
    virtual ~Presenter() = default;
    // Shows the box and returns when the user has closed it.
    virtual void present(const QString &title, const QString &text, int style) = 0;
};

// Shows the box; each carriage return in text starts a new line.
void show(const QString &title, const QString &text, int style);

// Replaces the presenter (tests install one that records and returns at once).
// Returns the previous one.
std::unique_ptr<Presenter> setPresenter(std::unique_ptr<Presenter> presenter);

} // namespace MessageBox
