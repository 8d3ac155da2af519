// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptManagerBase.h"

// Script 5: a queue of snapshots of one size fixed at launch. A new snapshot joins each time
// the newest has reached the rotation period; a full queue drops its oldest to make room.
class ManagerQueue : public ScriptManagerBase {
public:
    using ScriptManagerBase::ScriptManagerBase;

    // Purges, fixes the snapshot size from the volume group's free space, saves it with the
    // configuration, starts the timer and creates the first snapshot.
    [[nodiscard]] bool launch() override;

    // Repairs the queue (undated, too close, beyond the quantity, wrong size, overfilled), then
    // rotates it when a new snapshot is due. The first failed step ends the check. A hand-edited
    // quantity or period below 1 is refused before any snapshot is touched: with it the queue
    // arithmetic would delete the administrator's restore points.
    [[nodiscard]] bool check() override;

    // The rotation period and the queue length, "unknown" for values not set.
    void info() override;

private:
    [[nodiscard]] bool hasSaneParameters() const;
    [[nodiscard]] bool removeUndatedSnapshots() const;
    [[nodiscard]] bool trimQueue() const;
    [[nodiscard]] bool removeCloseSnapshots() const;
    [[nodiscard]] bool resizeQueueSnapshots() const;
    [[nodiscard]] bool rotateQueue() const;
    [[nodiscard]] bool removeOverfilledSnapshots() const;
    // The library answers a failed listing with an empty list, which the steps above cannot
    // tell from an empty queue; a last look keeps a check that trimmed nothing for that reason
    // from reporting success with more than `quantity` snapshots.
    [[nodiscard]] bool holdsAtMostQuantity() const;
    [[nodiscard]] uint64_t period() const;
};
