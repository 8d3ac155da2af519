// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <string>
#include <vector>

// What one run of a program left: its exit status and its two output streams, kept apart so
// that diagnostics never mix into what is parsed.
struct ProgramResult {
    bool started = false; // false when the program could not be started at all
    int status = -1;      // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
    std::string failure; // why it could not be started or waited for

    [[nodiscard]] bool succeeded() const { return started && status == 0; }
};

// Runs `program` with `args` (argv[0] is the program's path) and no shell: standard input is
// /dev/null, the environment is exactly `environment`, and no descriptor of ours but the two
// output pipes reaches the child.
[[nodiscard]] ProgramResult runProgram(const std::string& program,
                                       const std::vector<std::string>& args,
                                       const std::vector<std::string>& environment);
