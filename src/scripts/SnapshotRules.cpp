// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/SnapshotRules.h"

bool isUsable(SnapshotHandle snapshot)
{
    return isUsable(snapshot, lvm_snapshot_creation_time(snapshot));
}

bool isUsable(SnapshotHandle snapshot, uint64_t creationTime)
{
    return creationTime != 0 && lvm_snapshot_filling_percent(snapshot) <= kHighestUsableFilling;
}

bool isOverfilled(SnapshotHandle snapshot)
{
    return lvm_snapshot_filling_percent(snapshot) > kHighestTolerableFilling;
}
