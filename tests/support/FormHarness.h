// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calendar/Controls.h"
#include "calendar/Form1.h"
#include "calendar/MonthPanel.h"
#include "calendar/WindowDesign.h"

#include <QComboBox>
#include <QLineEdit>

// Short ways to reach a window's controls in tests.
namespace FormHarness {

inline MonthPanel *panel(const Form1 &form, int number)
{
    return number == 1 ? form.panel1() : form.panel2();
}

inline int shownCells(const MonthPanel *panel)
{
    int shown = 0;
    for (int cell = 0; cell < WindowDesign::CellCount; ++cell) {
        const bool captionShown = !panel->dayCaption(cell)->isHidden();
        if (captionShown != !panel->noteBox(cell)->isHidden())
            return -1; // a caption and its note box must show together
        shown += captionShown ? 1 : 0;
    }
    return shown;
}

inline void selectMonth(MonthPanel *panel, const QString &name)
{
    panel->monthSelector()->setCurrentIndex(panel->monthSelector()->findText(name));
}

} // namespace FormHarness
