// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <vector>

// What the tool relies on from the snapshot library, as one table that both libraries must keep:
// tests/unit runs it on the simulated library, tests/lvm on the real one over the fake lvm. Every
// rule row and the fault sweep run on the simulator, so it must not promise more than LVM gives.
// Sizes are bytes of a root volume of 128 extents of 4 MiB, a geometry both libraries can stage.
inline constexpr uint64_t kStageExtent = uint64_t{4} << 20;
inline constexpr uint64_t kStageRoot = 128 * kStageExtent;
inline constexpr uint64_t kStageUndated = UINT64_MAX;

// A snapshot that the library made before: its age in seconds (kStageUndated: it has no creation
// time) and its size (0: full-sized).
struct Staged {
    uint64_t age;
    uint64_t size;
};

// How a test binary puts its library in front of the promises.
class LibraryStage {
public:
    virtual ~LibraryStage() = default;
    // A new process of the tool on a root of kStageRoot, with these snapshots (made in this
    // order) and `freeSpace` bytes free in the volume group.
    virtual void stage(const std::vector<Staged>& snapshots, uint64_t freeSpace) = 0;
    // From now on the volumes cannot be read.
    virtual void breakVolumes() = 0;
    [[nodiscard]] virtual uint64_t now() const = 0;
};

// Stages and checks every promise in turn; each one broken is a test failure that names it.
void expectLibraryPromises(LibraryStage& stage);
