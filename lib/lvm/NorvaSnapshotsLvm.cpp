// SPDX-License-Identifier: LGPL-2.1-or-later
// The twelve functions of the snapshot library over LVM2. Everything else in this library is
// built hidden, so these are the only symbols it exports. No exception leaves them: a C
// caller could not catch it, and every failure has an answer of its own.
#pragma GCC visibility push(default)
#include "norvasnapshots.h"
#pragma GCC visibility pop

#include "SnapshotOperations.h"

#include <exception>

namespace {

template <typename Result, typename Call> Result guarded(Result failure, Call call) noexcept
{
    try {
        return call(currentSession());
    } catch (const std::exception&) {
        return failure;
    } catch (...) {
        return failure;
    }
}

} // namespace

SnapshotList existing_lvm_snapshots(void)
{
    static SnapshotHandle empty[] = {nullptr};
    // An empty list that is not ours is never released: free ignores what it did not hand out.
    return guarded<SnapshotList>(empty, [](LvmSession& s) { return listSnapshots(s); });
}

void free_existing_lvm_snapshots(SnapshotList list)
{
    (void)guarded<bool>(false, [list](LvmSession& s) {
        s.releaseList(list);
        return true;
    });
}

bool create_lvm_snapshot(uint64_t size)
{
    return guarded<bool>(false, [size](LvmSession& s) { return createSnapshot(s, size); });
}

int32_t can_create_lvm_snapshot(uint64_t size)
{
    return guarded<int32_t>(NORVA_REPORT_FAILED,
                            [size](LvmSession& s) { return canCreateSnapshot(s, size); });
}

bool remove_lvm_snapshot(SnapshotHandle snapshot)
{
    return snapshot != nullptr &&
           guarded<bool>(false, [snapshot](LvmSession& s) { return removeSnapshot(s, *snapshot); });
}

bool resize_lvm_snapshot(SnapshotHandle snapshot, uint64_t size)
{
    return snapshot != nullptr && guarded<bool>(false, [snapshot, size](LvmSession& s) {
               return resizeSnapshot(s, *snapshot, size);
           });
}

uint64_t lvm_snapshot_creation_time(SnapshotHandle snapshot)
{
    return snapshot == nullptr || snapshot->removed ? 0 : snapshot->creationTime;
}

uint64_t lvm_snapshot_filling_percent(SnapshotHandle snapshot)
{
    return snapshot == nullptr || snapshot->removed ? 0 : fillingPercent(*snapshot);
}

uint64_t lvm_snapshot_size(SnapshotHandle snapshot)
{
    return snapshot == nullptr || snapshot->removed ? 0 : reportedSize(*snapshot);
}

uint64_t root_volume_size(void)
{
    return guarded<uint64_t>(0, [](LvmSession& s) { return rootVolumeSize(s); });
}

uint64_t root_vg_free_space(void)
{
    return guarded<uint64_t>(0, [](LvmSession& s) { return rootVgFreeSpace(s); });
}

uint64_t boot_partition_used_space(void)
{
    return guarded<uint64_t>(0, [](LvmSession& s) { return bootUsedSpace(s); });
}
