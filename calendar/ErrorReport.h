// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>

// The error report of the procedures that run their work as numbered steps
// (the window's load and the colour picker): a failed step is reported with
// its line number and the procedure goes on with the next step.
namespace ErrorReport {

inline const QString Title = QStringLiteral("Application Error");
inline const QString SupportAddress = QStringLiteral("support@quillmere.example");

struct Step
{
    int line;
    std::function<void()> action;
};

// The report's text: description, CR LF, location, "at line N", two CRs, and
// the request to send a screenshot.
QString text(const QString &description, const QString &location, int line);

// Runs the steps in order; each failure shows the report and the next step runs.
void runSteps(const QString &location, std::initializer_list<Step> steps);

} // namespace ErrorReport
