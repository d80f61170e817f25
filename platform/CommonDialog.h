// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Dispatch.h"

#include <QColor>
#include <memory>
#include <optional>

class QWidget;

// The colour dialog. Dispatch ids:
//   6  property  the colour value (0x00BBGGRR); set when the user confirms a
//                colour, kept for the rest of the run, unchanged by a cancel
//   32 method    show the colour dialog modally; returns when it is closed
class CommonDialog : public Dispatchable
{
public:
    // What actually asks the user; tests install one that answers at once.
    class ColorChooser
    {
    public:
        virtual ~ColorChooser() = default;
        // The confirmed colour, or nothing when the user cancelled.
        virtual std::optional<QColor> choose(const QColor &initial, QWidget *parent) = 0;
    };

    // The members callers reach by dispatch id, as described above.
    enum DispatchId { Color = 6, ShowColor = 32 };

    explicit CommonDialog(QWidget *owner);

    QVariant invoke(int dispatchId, const QVariantList &arguments) override;
    QVariant getProperty(int dispatchId) override;
    void setProperty(int dispatchId, const QVariant &value) override;

    void setChooser(std::unique_ptr<ColorChooser> chooser);

private:
    void showColor();

    QWidget *m_owner;
    std::unique_ptr<ColorChooser> m_chooser;
    qint32 m_color = 0;
};
