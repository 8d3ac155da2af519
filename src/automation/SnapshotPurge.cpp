#include "automation/Automation.h"
#include "snapshots/SnapshotListGuard.h"

bool removeAllSnapshots()
{
    const SnapshotListGuard list;
    bool allRemoved = true;
    for (const SnapshotHandle snapshot : list) {
        allRemoved = remove_lvm_snapshot(snapshot) && allRemoved;
    }
    return allRemoved;
}
