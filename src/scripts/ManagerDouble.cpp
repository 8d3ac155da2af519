// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ManagerDouble.h"

#include "scripts/Clock.h"
#include "scripts/ParameterLines.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"

bool ManagerDouble::check()
{
    SnapshotListGuard list;
    if (list.empty()) {
        // A listing that failed answers empty too, and a snapshot made for it would stay on as
        // the pair's additional one, never to be told apart: look once more before making one.
        list.refresh();
    }
    switch (list.size()) {
    case 0:
        return createIfAllowed(because(Why::Missing), 0);
    case 1:
        return ensureFullSnapshot(list.first()) && createAdditionalIfDue(list.first());
    default:
        return removeEntries(because(Why::Surplus), list, 2, list.size()) &&
               checkSnapshotPair(list.at(0), list.at(1));
    }
}

bool ManagerDouble::checkSnapshotPair(SnapshotHandle full, SnapshotHandle additional)
{
    const uint64_t fullCreated = lvm_snapshot_creation_time(full);
    const uint64_t additionalCreated = lvm_snapshot_creation_time(additional);
    if (!isUsable(full, fullCreated)) {
        if (!removeSnapshot(because(Why::Unusable), full)) {
            return false;
        }
        if (isUsable(additional, additionalCreated)) {
            return keepSurvivor();
        }
        return removeSnapshot(because(Why::Unusable), additional) &&
               createIfAllowed(because(Why::Unusable), 0);
    }
    if (!isUsable(additional, additionalCreated)) {
        return removeSnapshot(because(Why::Unusable), additional) && keepSurvivor();
    }
    if (!isPairDue(additional, fullCreated, additionalCreated)) {
        return true;
    }
    return removeSnapshot(because(Why::Rotation), full) && ensureFullSnapshot(additional) &&
           createAdditionalSnapshot();
}

bool ManagerDouble::isPairDue(SnapshotHandle additional, uint64_t fullCreated,
                              uint64_t additionalCreated) const
{
    if (agesApply() &&
        hasReached(elapsed(fullCreated, additionalCreated), periodSeconds(config().lifetime))) {
        return true;
    }
    return isOverfilled(additional);
}

bool ManagerDouble::keepSurvivor()
{
    const SnapshotListGuard fresh;
    const SnapshotHandle survivor = fresh.first();
    return ensureFullSnapshot(survivor) && createAdditionalIfDue(survivor);
}

bool ManagerDouble::createAdditionalIfDue(SnapshotHandle snapshot)
{
    const uint64_t created = lvm_snapshot_creation_time(snapshot);
    if (created == 0) {
        return false;
    }
    if (!agesApply() ||
        !hasReached(elapsed(created, currentTime()), periodSeconds(config().lifetime))) {
        return true;
    }
    return createAdditionalSnapshot();
}

void ManagerDouble::info()
{
    writeParameterLines(config());
}
