// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the fleet's monitoring needs to know of one machine, read from the configuration, the
// timer and the snapshot library without changing anything.
struct Metrics {
    int32_t script = 0;
    bool timerEnabled = false;
    std::optional<bool> lastCheckSucceeded; // known when the service's run just ended
    uint64_t lastCheckTime = 0;
    uint64_t snapshots = 0;
    uint64_t usable = 0; // restore points: dated, and filled to 99 percent at most
    std::optional<uint64_t> newestAge;
    uint64_t highestFilling = 0;
    uint64_t vgFreeBytes = 0;
};

// Reads them now. `serviceResult` is what systemd tells a unit's ExecStopPost= ($SERVICE_RESULT:
// "success", "exit-code", "timeout", ...); empty when run by hand.
[[nodiscard]] Metrics gatherMetrics(const std::string& serviceResult, uint64_t now);

// node_exporter's textfile-collector format.
[[nodiscard]] std::string metricsText(const Metrics& metrics);
