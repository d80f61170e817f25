// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CommonDialog.h"

#include "platform/OleColor.h"

#include <QColorDialog>

namespace {
const QString Component = QStringLiteral("CommonDialog1");

class QtColorChooser : public CommonDialog::ColorChooser
{
public:
    std::optional<QColor> choose(const QColor &initial, QWidget *parent) override
    {
        QColorDialog dialog(initial, parent);
        dialog.setObjectName(QStringLiteral("colorDialog"));
        dialog.setOption(QColorDialog::DontUseNativeDialog);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedColor();
    }
};
} // namespace

CommonDialog::CommonDialog(QWidget *owner)
    : m_owner(owner), m_chooser(std::make_unique<QtColorChooser>())
{
}

QVariant CommonDialog::invoke(int dispatchId, const QVariantList &)
{
    if (dispatchId != ShowColor)
        failUnknownId(Component, dispatchId);
    showColor();
    return {};
}

QVariant CommonDialog::getProperty(int dispatchId)
{
    if (dispatchId != Color)
        failUnknownId(Component, dispatchId);
    return m_color;
}

void CommonDialog::setProperty(int dispatchId, const QVariant &value)
{
    if (dispatchId != Color)
        failUnknownId(Component, dispatchId);
    m_color = toInt32(value);
}

void CommonDialog::setChooser(std::unique_ptr<ColorChooser> chooser)
{
    m_chooser = std::move(chooser);
}

void CommonDialog::showColor()
{
    const std::optional<QColor> chosen = m_chooser->choose(OleColor::toQColor(m_color), m_owner);
    if (chosen)
        m_color = OleColor::fromQColor(*chosen);
}
