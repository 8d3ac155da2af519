#include "automation/Automation.h"
#include "snapshots/SnapshotListGuard.h"

bool removeAllSnapshots()
{
    const SnapshotListGuard list;
    return removeEntries(list, 0, list.size());
}
