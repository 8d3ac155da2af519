#include "scripts/ManagerSingle.h"

#include "automation/Automation.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"

#include <algorithm>

namespace {

bool resizeToRootVolume(SnapshotHandle snapshot)
{
    const uint64_t rootSize = root_volume_size();
    if (lvm_snapshot_size(snapshot) == rootSize) {
        return true;
    }
    return resize_lvm_snapshot(snapshot, rootSize);
}

} // namespace

bool ManagerSingle::launch()
{
    static_cast<void>(stopAutomation());
    if (!removeAllSnapshots() || can_create_lvm_snapshot(0) != 0) {
        return false;
    }
    if (!startAutomation(*this)) {
        return false;
    }
    return create_lvm_snapshot(0);
}

bool ManagerSingle::check()
{
    const SnapshotListGuard list;
    if (list.empty()) {
        return createIfAllowed(0);
    }
    if (!removeEntries(list, 1, list.size())) {
        return false;
    }
    return ensureFullSnapshot(list.first());
}

bool ManagerSingle::ensureFullSnapshot(SnapshotHandle snapshot)
{
    if (snapshot == nullptr) {
        return false;
    }
    if (isUsable(snapshot)) {
        return resizeToRootVolume(snapshot);
    }
    if (!remove_lvm_snapshot(snapshot)) {
        return false;
    }
    return createIfAllowed(0);
}

bool ManagerSingle::createAdditionalSnapshot()
{
    const uint64_t freeSpace = root_vg_free_space();
    const uint64_t rootSize = root_volume_size();
    const uint64_t bootUsed = boot_partition_used_space();
    if (bootUsed >= freeSpace) {
        return false;
    }
    return createIfAllowed(std::min(freeSpace, rootSize));
}

bool ManagerSingle::stopCheckAndAddSnapshot()
{
    static_cast<void>(stopAutomation());
    static_cast<void>(check());
    return createAdditionalSnapshot();
}
