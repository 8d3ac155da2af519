// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "BenchScenarios.h"

#include <map>
#include <string>

// What one run of the tool cost.
struct BenchMeasure {
    int status = -1;
    size_t lvmProcesses = 0;
    std::map<std::string, size_t> lvmCommands; // "lvs" -> 1
    unsigned long libraryCalls = 0;
    double wallMs = 0;
    double toolCpuMs = 0; // the tool's own user + system time
    long toolPeakKiB = 0; // the tool's own peak resident size
};

struct BenchPaths {
    std::string tool;
    std::string libraryDir; // holds the benchmark build of libnorvasnapshots.so.0
    std::string counter;    // the call-counting library, preloaded
    std::string fakeLvm;
};

// Makes the machine of `scenario` in a new temporary directory (fake lvm, its state, the
// mount and sysfs files, the fake systemctl's state, the configuration file) and runs the tool
// once. Only in the test kit's sandbox (bench/lvm-cost): the configuration file is /etc's.
[[nodiscard]] BenchMeasure runScenario(const BenchPaths& paths, const BenchScenario& scenario);
