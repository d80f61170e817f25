// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The exit codes of tavorin-notes, which scripts can rely on.
namespace ExitCode {

enum Code : int {
    Ok = 0,
    NothingFound = 1,
    UsageError = 2,
    StoreError = 3,
    NetworkError = 4,
    LoginRefused = 5,
    ServerError = 6,
};

// Their list, which ends the help of the program and of every command.
QString help();

} // namespace ExitCode
