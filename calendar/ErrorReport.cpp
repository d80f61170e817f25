// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/ErrorReport.h"

#include "platform/Failure.h"
#include "platform/MessageBox.h"

namespace ErrorReport {

QString text(const QString &description, const QString &location, int line)
{
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") + QString::number(line)
           + QStringLiteral("\r\r") + QStringLiteral("Please email screenshot of this message to ") + SupportAddress;
}

void runSteps(const QString &location, std::initializer_list<Step> steps)
{
    for (const Step &step : steps) {
        try {
            step.action();
        } catch (...) {
            MessageBox::show(Title, text(describeFailure(std::current_exception()), location, step.line),
                             MessageBox::Warning);
        }
    }
}

} // namespace ErrorReport
