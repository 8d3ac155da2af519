// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// What the tool relies on from the snapshot library, one table that both libraries keep: tests/unit
// runs it on the simulated one, on which every rule row and the fault sweep run, and tests/lvm on
// the real one over the fake lvm. Sizes are bytes of a root of 128 extents of 4 MiB.
inline constexpr uint64_t kStageExtent = uint64_t{4} << 20;
inline constexpr uint64_t kStageRoot = 128 * kStageExtent;
inline constexpr uint64_t kStageUndated = UINT64_MAX;

// A snapshot the library made: its age in seconds (kStageUndated: none) and size (0: full-sized).
struct Staged {
    uint64_t age;
    uint64_t size;
};

// How a test binary sets up its library.
class LibraryStage {
public:
    virtual ~LibraryStage() = default;
    // A new process on a root of kStageRoot with these snapshots, made in this order.
    virtual void stage(const std::vector<Staged>& snapshots, uint64_t freeSpace) = 0;
    // From now on the volumes cannot be read.
    virtual void breakVolumes() = 0;
    [[nodiscard]] virtual uint64_t now() const = 0;
};

// Each promise broken is a test failure that names it.
void expectLibraryPromises(LibraryStage& stage);
