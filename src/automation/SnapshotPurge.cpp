// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/Automation.h"
#include "snapshots/SnapshotListGuard.h"
#include "text/SystemLog.h"

namespace {

// A purge is done only when the library sees the root volume and lists none of our snapshots
// afterwards. An empty list alone proves nothing: a library that cannot read the volumes lists
// none, and one whose snapshot is being merged back hides that snapshot and may remove none.
[[nodiscard]] bool nothingLeft()
{
    const int32_t code = can_create_lvm_snapshot(0);
    if (code == NORVA_NO_ROOT_VOLUME || code == NORVA_REPORT_FAILED ||
        code == NORVA_MERGE_PENDING) {
        logLine(LogLevel::Error, formatMessage(trNoop("The snapshots cannot be deleted: %s."),
                                               refusalReason(code).c_str()));
        return false;
    }
    const SnapshotListGuard left;
    if (!left.empty()) {
        logLine(LogLevel::Error,
                formatMessage(trNoop("Snapshots left after the purge: %zu."), left.size()));
    }
    return left.empty();
}

} // namespace

bool removeAllSnapshots(const Cause& cause)
{
    bool allRemoved = false;
    {
        const SnapshotListGuard list;
        allRemoved = removeEntries(cause, list, 0, list.size());
    }
    return nothingLeft() && allRemoved;
}
