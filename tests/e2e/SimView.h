#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the simulated library holds, read back from the state text that "norva-sim show --raw"
// prints, so that tests can assert on snapshots and free space.
struct SimSnapshotRow {
    uint64_t id = 0;
    uint64_t creationTime = 0;
    uint64_t size = 0;
    uint64_t fillingPercent = 0;
};

struct SimView {
    uint64_t rootSize = 0;
    uint64_t vgFree = 0;
    std::vector<SimSnapshotRow> snapshots; // oldest first
};

[[nodiscard]] SimView parseSimView(const std::string& rawState);
