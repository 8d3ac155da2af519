// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimOperations.h"

#include <algorithm>
#include <limits>
#include <tuple>
#include <utility>

uint64_t requestedSize(const SimState& state, uint64_t size)
{
    return size == 0 || size > state.rootSize ? state.rootSize : size;
}

std::vector<uint64_t> idsOldestFirst(const SimState& state)
{
    std::vector<SimSnapshot> snapshots = state.snapshots;
    std::sort(snapshots.begin(), snapshots.end(), [](const SimSnapshot& a, const SimSnapshot& b) {
        return std::tie(a.creationTime, a.id) < std::tie(b.creationTime, b.id);
    });
    std::vector<uint64_t> ids;
    for (const SimSnapshot& snapshot : snapshots) {
        ids.push_back(snapshot.id);
    }
    return ids;
}

NorvaCanCreate canCreate(const SimState& state, uint64_t size)
{
    return requestedSize(state, size) <= state.vgFree ? NORVA_CAN_CREATE : NORVA_NO_SPACE;
}

const SimSnapshot* findSnapshot(const SimState& state, uint64_t id)
{
    const auto found = std::find_if(state.snapshots.begin(), state.snapshots.end(),
                                    [id](const SimSnapshot& s) { return s.id == id; });
    return found == state.snapshots.end() ? nullptr : &*found;
}

SimSnapshot* findSnapshot(SimState& state, uint64_t id)
{
    return const_cast<SimSnapshot*>(findSnapshot(std::as_const(state), id));
}

std::optional<uint64_t> createSnapshot(SimState& state, uint64_t size, uint64_t creationTime,
                                       uint64_t fillingPercent)
{
    const uint64_t bytes = requestedSize(state, size);
    if (bytes > state.vgFree) {
        return std::nullopt;
    }
    const uint64_t id = state.nextId++;
    state.vgFree -= bytes;
    state.snapshots.push_back(SimSnapshot{id, creationTime, bytes, fillingPercent});
    return id;
}

bool removeSnapshot(SimState& state, uint64_t id)
{
    const SimSnapshot* snapshot = findSnapshot(state, id);
    if (snapshot == nullptr) {
        return false;
    }
    state.vgFree += snapshot->size;
    state.snapshots.erase(state.snapshots.begin() + (snapshot - state.snapshots.data()));
    return true;
}

bool setSnapshotSize(SimState& state, uint64_t id, uint64_t size)
{
    SimSnapshot* snapshot = findSnapshot(state, id);
    const uint64_t bytes = requestedSize(state, size);
    if (snapshot == nullptr || (bytes > snapshot->size && bytes - snapshot->size > state.vgFree)) {
        return false;
    }
    state.vgFree = state.vgFree + snapshot->size - bytes;
    snapshot->size = bytes;
    return true;
}

bool resizeSnapshot(SimState& state, uint64_t id, uint64_t size)
{
    const SimSnapshot* before = findSnapshot(state, id);
    if (before == nullptr) {
        return false;
    }
    const SimSnapshot old = *before;
    if (!setSnapshotSize(state, id, size)) {
        return false;
    }
    SimSnapshot* after = findSnapshot(state, id);
    after->fillingPercent = scaledFillingPercent(old.fillingPercent, old.size, after->size);
    return true;
}

uint64_t scaledFillingPercent(uint64_t percent, uint64_t oldSize, uint64_t newSize)
{
    if (newSize == 0) {
        return percent;
    }
    // The product of a percent and a size in bytes can pass 64 bits.
    __extension__ using Wide = unsigned __int128;
    const Wide scaled = Wide{percent} * oldSize / newSize;
    return scaled > std::numeric_limits<uint64_t>::max() ? std::numeric_limits<uint64_t>::max()
                                                         : static_cast<uint64_t>(scaled);
}
