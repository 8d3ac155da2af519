// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One snapshot that a benchmark scenario starts with, as the library would have made it.
struct BenchSnapshot {
    std::string name;
    uint64_t extents = 0;
    uint64_t ageSeconds = 0;
    uint64_t askedSize = 0;
};

// One run of the tool on a seeded VG: what is measured is this run alone.
struct BenchScenario {
    std::string title;
    std::string config; // the configuration file's JSON; empty for none
    std::vector<BenchSnapshot> snapshots;
    std::vector<std::string> args;
    std::string input;
};

inline constexpr uint64_t kBenchExtent = 4194304;
inline constexpr uint64_t kBenchRootExtents = 128;
inline constexpr uint64_t kBenchVgExtents = 1023;

// -h first (the baseline), then every script's steady-state check and the rotations.
[[nodiscard]] std::vector<BenchScenario> benchScenarios();
