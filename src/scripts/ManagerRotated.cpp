// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ManagerRotated.h"

#include "scripts/Clock.h"
#include "scripts/ParameterLines.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"

bool ManagerRotated::check()
{
    if (!ManagerSingle::check()) {
        return false;
    }
    SnapshotListGuard list;
    const SnapshotHandle current = list.first();
    if (current == nullptr) {
        // The snapshot just ensured is not listed: nothing can be rotated with any confidence.
        return false;
    }
    const uint64_t created = lvm_snapshot_creation_time(current);
    const uint64_t now = currentTime();
    if (config().lifetime <= 0 ||
        !hasReached(elapsed(created, now), periodSeconds(config().lifetime))) {
        return true;
    }
    return rotate(list);
}

bool ManagerRotated::rotate(SnapshotListGuard& list)
{
    if (!createAdditionalSnapshot() || !removeSnapshot(because(Why::Rotation), list.first())) {
        return false;
    }
    list.refresh();
    const SnapshotHandle replacement = list.first();
    if (replacement == nullptr) {
        return false;
    }
    if (lvm_snapshot_size(replacement) < root_volume_size()) {
        return resizeSnapshot(because(Why::Rotation), replacement, 0);
    }
    return true;
}

void ManagerRotated::info()
{
    writeParameterLines(config());
}
