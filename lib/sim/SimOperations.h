// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "SimState.h"
#include "norvasnapshots.h"

#include <cstdint>
#include <optional>
#include <vector>

// The size a request stands for: 0 asks for a full-sized snapshot, as large as the root volume,
// and a larger size is held at that size, as no snapshot of use is larger.
[[nodiscard]] uint64_t requestedSize(const SimState& state, uint64_t size);

// NORVA_CAN_CREATE when the size fits the free space of the volume group now, NORVA_NO_SPACE
// when it does not. (A state file that cannot be read, and an injected failure, answer
// NORVA_REPORT_FAILED: the volumes could not be read.)
[[nodiscard]] NorvaCanCreate canCreate(const SimState& state, uint64_t size);

// The ids of the snapshots as the real library lists them: by creation time, undated ones
// first, and those of one second in the order they were made. A seeded state may hold them in
// any order.
[[nodiscard]] std::vector<uint64_t> idsOldestFirst(const SimState& state);

// The snapshot with that id; null when there is none.
[[nodiscard]] const SimSnapshot* findSnapshot(const SimState& state, uint64_t id);
[[nodiscard]] SimSnapshot* findSnapshot(SimState& state, uint64_t id);

// Appends a snapshot as the newest, its size taken from the free space; its id, or nullopt
// (and nothing changed) when the size does not fit.
[[nodiscard]] std::optional<uint64_t>
createSnapshot(SimState& state, uint64_t size, uint64_t creationTime, uint64_t fillingPercent = 0);

// Removes the snapshot and gives its size back to the free space; false for an unknown id.
[[nodiscard]] bool removeSnapshot(SimState& state, uint64_t id);

// Gives the snapshot a new size, settling the difference with the free space, and leaves its
// filling percent alone; false (nothing changed) for an unknown id or growth that does not fit.
[[nodiscard]] bool setSnapshotSize(SimState& state, uint64_t id, uint64_t size);

// As setSnapshotSize, but keeps the used bytes, so the filling percent scales with the size.
[[nodiscard]] bool resizeSnapshot(SimState& state, uint64_t id, uint64_t size);

// The percent that the same used bytes fill at the new size, rounded down; above 100 when the
// snapshot became smaller than its used space.
[[nodiscard]] uint64_t scaledFillingPercent(uint64_t percent, uint64_t oldSize, uint64_t newSize);
