// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "norvasnapshots.h"

#include <cstdint>
#include <vector>

// What a handle of the simulated library points to: the id of a snapshot, looked up in the
// current state at every query, so that a handle outlives the snapshot it names.
struct NorvaSnapshot {
    uint64_t id = 0;
};

// A null-terminated list of handles for these ids, in this order, owned by the caller until
// releaseHandleList. Never null.
[[nodiscard]] SnapshotList makeHandleList(const std::vector<uint64_t>& ids);

void releaseHandleList(SnapshotList list);
