// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <utility>

// The program-wide handling of failures in event handlers: no failure ever
// escapes into Qt's event loop. A failure is shown in a message box with its
// description and the program goes on. Of an unbroken run of failures only
// the first is shown, so a store that fails while the user types opens one
// box, not one per keystroke; the run ends when the caller says so (the
// window does once a store write succeeded).
namespace UnhandledFailures {

void handle(std::exception_ptr failure);
void endRun();
// Begins a run as if its first failure had been shown: for one the user was
// told of another way, in an error report.
void beginRun();

// Runs an event handler, handing any failure to handle().
template<typename Handler>
void guard(Handler &&handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        handle(std::current_exception());
    }
}

} // namespace UnhandledFailures
