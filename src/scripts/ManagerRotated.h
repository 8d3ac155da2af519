// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ManagerSingle.h"

class SnapshotListGuard;

// Script 2: script 1's single full-sized snapshot, replaced once it has reached its lifetime.
// The new snapshot is created before the old one is removed, so the root volume is never left
// without one.
class ManagerRotated : public ManagerSingle {
public:
    using ManagerSingle::ManagerSingle;

    // Script 1's check, then the rotation when the snapshot's age has reached the lifetime.
    [[nodiscard]] bool check() override;

    // "Snapshot lifetime: N days", or "unknown" when no lifetime is set.
    void info() override;

private:
    // Replaces the expired first snapshot of `list`, then takes a fresh list.
    [[nodiscard]] bool rotate(SnapshotListGuard& list);
};
