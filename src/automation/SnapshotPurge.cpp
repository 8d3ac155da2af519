// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/Automation.h"
#include "snapshots/SnapshotListGuard.h"

bool removeAllSnapshots(const Cause& cause)
{
    const SnapshotListGuard list;
    return removeEntries(cause, list, 0, list.size());
}
