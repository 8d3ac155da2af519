// SPDX-License-Identifier: LGPL-2.1-or-later
#include "HandleList.h"

#include <cstdlib>

namespace {

[[nodiscard]] size_t roundUp(size_t bytes, size_t alignment)
{
    return (bytes + alignment - 1) / alignment * alignment;
}

} // namespace

SnapshotList makeHandleList(const std::vector<uint64_t>& ids)
{
    // One block holds the handle array and, behind it, the snapshots the handles point to, so
    // that a list is released by one free whatever happened to the snapshots meanwhile.
    const size_t arrayBytes =
        roundUp((ids.size() + 1) * sizeof(SnapshotHandle), alignof(NorvaSnapshot));
    void* block = std::calloc(1, arrayBytes + ids.size() * sizeof(NorvaSnapshot));
    if (block == nullptr) {
        // A C caller has no way to learn of an empty list that is not a list.
        std::abort();
    }
    auto* const handles = static_cast<SnapshotHandle*>(block);
    auto* const snapshots =
        reinterpret_cast<NorvaSnapshot*>(static_cast<char*>(block) + arrayBytes);
    for (size_t i = 0; i < ids.size(); ++i) {
        snapshots[i].id = ids[i];
        handles[i] = &snapshots[i];
    }
    handles[ids.size()] = nullptr;
    return handles;
}

void releaseHandleList(SnapshotList list)
{
    std::free(list);
}
