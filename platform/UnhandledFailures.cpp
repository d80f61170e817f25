// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UnhandledFailures.h"

#include "platform/ApplicationInfo.h"
#include "platform/Failure.h"
#include "platform/MessageBox.h"

namespace UnhandledFailures {

namespace {
bool inRun = false;
}

void handle(std::exception_ptr failure)
{
    if (inRun)
        return;
    inRun = true;
    const QString title = ApplicationInfo::title().isEmpty() ? ApplicationInfo::ProductName
                                                             : ApplicationInfo::title();
    try {
        MessageBox::show(title, describeFailure(failure), MessageBox::Warning);
    } catch (...) {
        // Nothing is left to report a failing message box with.
    }
}

void endRun()
{
    inRun = false;
}

void beginRun()
{
    inRun = true;
}

} // namespace UnhandledFailures
