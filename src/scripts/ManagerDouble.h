// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ManagerSingle.h"

// Script 6: a full-sized snapshot and an additional one, rotated together. Once the full-sized
// one has reached the period an additional one is made; when the pair is a period apart, or the
// additional one overfills, the full-sized one goes, the additional one grows to take its
// place and a new additional one is made.
class ManagerDouble : public ManagerSingle {
public:
    using ManagerSingle::ManagerSingle;

    // Removes the surplus beyond two, then keeps the pair in order.
    [[nodiscard]] bool check() override;

    // "Snapshots rotation period: N days", or "unknown" when no period is set.
    void info() override;

private:
    [[nodiscard]] bool checkSnapshotPair(SnapshotHandle full, SnapshotHandle additional);
    [[nodiscard]] bool createAdditionalIfDue(SnapshotHandle snapshot);

    // After one of the pair was removed: the first snapshot of a fresh list is made full-sized
    // and gets its additional one when due.
    [[nodiscard]] bool keepSurvivor();
    [[nodiscard]] bool isPairDue(SnapshotHandle additional, uint64_t fullCreated,
                                 uint64_t additionalCreated) const;
    [[nodiscard]] bool agesApply() const { return config().lifetime > 0; }
};
