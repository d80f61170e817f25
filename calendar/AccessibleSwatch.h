// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessibleWidget>

class ColorSwatch;

// The colour swatch as assistive technology sees it: a push button that opens
// the colour dialog when pressed, with the colour in words as its value.
class AccessibleSwatch : public QAccessibleWidget
{
public:
    explicit AccessibleSwatch(ColorSwatch *swatch);

    QString text(QAccessible::Text kind) const override;

    QStringList actionNames() const override;
    void doAction(const QString &action) override;
    QStringList keyBindingsForAction(const QString &action) const override;

private:
    ColorSwatch *swatch() const;
};
