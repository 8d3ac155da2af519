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
// mount and sysfs files, a stub systemctl, the configuration file) and runs the tool once.
[[nodiscard]] BenchMeasure runScenario(const BenchPaths& paths, const BenchScenario& scenario);

// Puts an overlay on /etc and a tmpfs on /run/lock; false (with `why`) unless this process
// has a mount namespace of its own, so that the machine's /etc is never written.
[[nodiscard]] bool isolateSystem(std::string& why);
