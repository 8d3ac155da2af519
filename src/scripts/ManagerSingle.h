// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "norvasnapshots.h"
#include "scripts/ScriptManagerBase.h"

// Script 1: exactly one usable, full-sized snapshot. Its launch is shared by scripts 2, 3, 4
// and 6, and its two snapshot operations by every script derived from it.
class ManagerSingle : public ScriptManagerBase {
public:
    using ScriptManagerBase::ScriptManagerBase;

    // Stops the timer, purges, saves the configuration, starts the timer, then creates one
    // full-sized snapshot. The timer runs with the new configuration even when only that last
    // creation fails: the next check creates the snapshot.
    [[nodiscard]] bool launch() override;

    // Keeps the oldest snapshot, removes the rest and makes the survivor usable and full-sized.
    [[nodiscard]] bool check() override;

protected:
    // True when `snapshot` is now usable and as large as the root volume, or was unusable and
    // has been replaced by a new full-sized one. False for a null handle.
    [[nodiscard]] bool ensureFullSnapshot(SnapshotHandle snapshot);

    // Creates one more snapshot of the smaller of the volume group's free space and the root
    // volume size. Refuses while the boot partition's used space is at least the free space.
    [[nodiscard]] bool createAdditionalSnapshot();

    // The hook scripts' trigger: stops the automation for good, runs this script's own check
    // (whatever it gives) and adds a snapshot beside what the check left. True when that
    // additional snapshot was created, or when an earlier trigger's restore point stands.
    [[nodiscard]] bool stopCheckAndAddSnapshot();

private:
    // A trigger that finds the automation stopped and more snapshots than a check keeps comes
    // after another trigger: the newest snapshot is the restore point taken before the first
    // change. A second check would remove it and keep one of a state that may be broken, so
    // it is kept (and logged) and nothing is done. True in that case.
    [[nodiscard]] bool keepsEarlierRestorePoint() const;
};
