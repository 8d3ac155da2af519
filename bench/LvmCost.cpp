// SPDX-License-Identifier: GPL-2.0-or-later
// The cost of the LVM2 snapshot library in the tool's runs: for each operation, the lvm
// processes started (from the fake lvm's record), the library calls made, and the tool's own
// CPU time and peak memory against a run of -h, as medians over several runs.
//
//   norva-lvm-cost TOOL LIBRARY_DIR COUNTER FAKE_LVM [RUNS]
//
// Run it through bench/lvm-cost, in the test kit's sandbox: it writes /etc's configuration file.
#include "BenchRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[nodiscard]] double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

[[nodiscard]] std::string commands(const BenchMeasure& measure)
{
    std::string text;
    for (const auto& [command, count] : measure.lvmCommands) {
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + command;
    }
    return text.empty() ? "-" : text;
}

struct Summary {
    BenchMeasure first;
    double wallMs = 0;
    double cpuMs = 0;
    double peakKiB = 0;
};

[[nodiscard]] Summary measure(const BenchPaths& paths, const BenchScenario& scenario, int runs)
{
    Summary summary;
    std::vector<double> wall;
    std::vector<double> cpu;
    std::vector<double> peak;
    for (int run = 0; run < runs; ++run) {
        const BenchMeasure one = runScenario(paths, scenario);
        if (run == 0) {
            summary.first = one;
        }
        wall.push_back(one.wallMs);
        cpu.push_back(one.toolCpuMs);
        peak.push_back(static_cast<double>(one.toolPeakKiB));
    }
    summary.wallMs = median(wall);
    summary.cpuMs = median(cpu);
    summary.peakKiB = median(peak);
    return summary;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s TOOL LIBRARY_DIR COUNTER FAKE_LVM [RUNS]\n", argv[0]);
        return 2;
    }
    // KIT is set once the kit's overlay lies on /etc.
    if (std::getenv("KIT") == nullptr) {
        std::fprintf(stderr, "run me through bench/lvm-cost: I write /etc\n");
        return 2;
    }
    const BenchPaths paths{argv[1], argv[2], argv[3], argv[4]};
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 15;
    std::printf("| operation | exit | lvm processes | library calls | wall ms | tool CPU ms "
                "(x -h) | tool peak RSS KiB (x -h) |\n|---|---|---|---|---|---|---|\n");
    Summary baseline;
    for (const BenchScenario& scenario : benchScenarios()) {
        const Summary summary = measure(paths, scenario, runs);
        if (scenario.args == std::vector<std::string>{"-h"}) {
            baseline = summary;
        }
        const double cpuRatio = baseline.cpuMs > 0 ? summary.cpuMs / baseline.cpuMs : 0;
        const double peakRatio = baseline.peakKiB > 0 ? summary.peakKiB / baseline.peakKiB : 0;
        std::printf("| %s | %d | %zu (%s) | %lu | %.1f | %.2f (%.2f) | %.0f (%.2f) |\n",
                    scenario.title.c_str(), summary.first.status, summary.first.lvmProcesses,
                    commands(summary.first).c_str(), summary.first.libraryCalls, summary.wallMs,
                    summary.cpuMs, cpuRatio, summary.peakKiB, peakRatio);
    }
    return 0;
}
