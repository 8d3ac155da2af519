// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One simulated snapshot of the root volume. The id is ours and never reused, so a handle
// taken before a removal cannot end up naming a newer snapshot.
struct SimSnapshot {
    uint64_t id = 0;
    uint64_t creationTime = 0;
    uint64_t size = 0;
    uint64_t fillingPercent = 0;

    bool operator==(const SimSnapshot&) const = default;
};

// A failure to inject: the named library function fails for one snapshot (or for every call
// when no id is given), on every call or only on the next remainingCalls calls.
struct SimFailure {
    std::string function;
    std::optional<uint64_t> snapshotId;
    std::optional<uint64_t> remainingCalls;

    bool operator==(const SimFailure&) const = default;
};

// Everything the simulated library knows: the volume figures, the snapshots in the order they
// were added (the library lists them oldest first) and the failures still to inject.
struct SimState {
    uint64_t rootSize = 0;
    uint64_t vgFree = 0;
    uint64_t bootUsed = 0;
    uint64_t nextId = 1;
    std::vector<SimSnapshot> snapshots;
    std::vector<SimFailure> failures;

    bool operator==(const SimState&) const = default;
};
