// SPDX-License-Identifier: GPL-3.0-or-later
// The id of a process that has ended: what a killed run's leftovers carry in their names.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

namespace sabrix::test {

inline pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

}  // namespace sabrix::test
