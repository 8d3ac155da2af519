// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ManagerQueue.h"

#include "automation/Automation.h"
#include "scripts/Clock.h"
#include "scripts/ParameterLines.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"
#include "text/SystemLog.h"
#include "text/Translate.h"

namespace {

// Removes every entry of a fresh list that `shouldGo` picks, each one tried even after a failure.
template <typename Predicate> bool removeEvery(const Cause& cause, Predicate shouldGo)
{
    const SnapshotListGuard list;
    bool allRemoved = true;
    for (const SnapshotHandle snapshot : list) {
        if (shouldGo(snapshot)) {
            allRemoved = removeSnapshot(cause, snapshot) && allRemoved;
        }
    }
    return allRemoved;
}

} // namespace

bool ManagerQueue::launch()
{
    if (config().quantity < 1) {
        return false;
    }
    static_cast<void>(stopAutomation());
    if (!removeAllSnapshots(because(Why::Launch))) {
        return false;
    }
    const uint64_t freeSpace = root_vg_free_space();
    const uint64_t rootSize = root_volume_size();
    const uint64_t size = queueSnapshotSize(freeSpace, config().quantity, rootSize);
    if (size == 0) {
        // 0 would ask the library for full-sized snapshots, which a queue was never meant to be.
        logLine(LogLevel::Error,
                formatMessage(trNoop("Script 5: no size for a queue of %d snapshots: %llu bytes "
                                     "free, a root volume of %llu bytes."),
                              config().quantity, static_cast<unsigned long long>(freeSpace),
                              static_cast<unsigned long long>(rootSize)));
        return false;
    }
    if (!creationAllowed(because(Why::Launch), size)) {
        return false;
    }
    mutableConfig().snapshotSize = size;
    if (!startAutomation(*this)) {
        return false;
    }
    return createSnapshot(because(Why::Launch), size);
}

bool ManagerQueue::check()
{
    return hasSaneParameters() && removeUndatedSnapshots() && trimQueue() &&
           resizeQueueSnapshots() && rotateQueue() && holdsAtMostQuantity();
}

bool ManagerQueue::holdsAtMostQuantity() const
{
    const SnapshotListGuard list;
    if (static_cast<int64_t>(list.size()) <= config().quantity) {
        return true;
    }
    logLine(LogLevel::Error, formatMessage(trNoop("Script 5: %zu snapshots are left, more than "
                                                  "the %d of the queue."),
                                           list.size(), config().quantity));
    return false;
}

bool ManagerQueue::hasSaneParameters() const
{
    if (config().quantity >= 1 && config().lifetime >= 1) {
        return true;
    }
    logLine(LogLevel::Error,
            formatMessage(trNoop("Script 5: a queue of %d snapshots with a rotation period of %d "
                                 "days cannot be kept; no snapshot is touched."),
                          config().quantity, config().lifetime));
    return false;
}

uint64_t ManagerQueue::period() const
{
    return periodSeconds(config().lifetime);
}

bool ManagerQueue::removeUndatedSnapshots() const
{
    return removeEvery(because(Why::Undated), [](SnapshotHandle snapshot) {
        return lvm_snapshot_creation_time(snapshot) == 0;
    });
}

bool ManagerQueue::trimQueue() const
{
    if (!removeCloseSnapshots()) {
        return false;
    }
    const SnapshotListGuard list;
    const auto held = static_cast<int64_t>(list.size());
    const int64_t excess = held - config().quantity;
    return excess <= 0 ||
           removeEntries(because(Why::Surplus), list, 0, static_cast<std::size_t>(excess));
}

bool ManagerQueue::removeCloseSnapshots() const
{
    SnapshotListGuard list;
    std::size_t index = 0;
    while (index + 1 < list.size()) {
        const uint64_t earlier = lvm_snapshot_creation_time(list.at(index));
        const uint64_t later = lvm_snapshot_creation_time(list.at(index + 1));
        if (hasReached(elapsed(earlier, later), period())) {
            ++index;
            continue;
        }
        if (!removeSnapshot(because(Why::TooClose), list.at(index + 1))) {
            return false;
        }
        list.refresh();
        index = 0;
    }
    return true;
}

bool ManagerQueue::resizeQueueSnapshots() const
{
    const SnapshotListGuard list;
    bool allResized = true;
    for (const SnapshotHandle snapshot : list) {
        if (lvm_snapshot_size(snapshot) != config().snapshotSize) {
            allResized =
                resizeSnapshot(because(Why::Size), snapshot, config().snapshotSize) && allResized;
        }
    }
    return allResized;
}

bool ManagerQueue::removeOverfilledSnapshots() const
{
    return removeEvery(because(Why::Overfilled),
                       [](SnapshotHandle snapshot) { return isOverfilled(snapshot); });
}

bool ManagerQueue::rotateQueue() const
{
    if (!removeOverfilledSnapshots()) {
        return false;
    }
    {
        const SnapshotListGuard list;
        if (!list.empty()) {
            const uint64_t created = lvm_snapshot_creation_time(list.last());
            if (!hasReached(elapsed(created, currentTime()), period())) {
                return true;
            }
            const auto held = static_cast<int64_t>(list.size());
            if (held >= config().quantity &&
                !removeSnapshot(because(Why::Rotation), list.first())) {
                return false;
            }
        }
    }
    return createIfAllowed(because(Why::Rotation), config().snapshotSize);
}

void ManagerQueue::info()
{
    writeParameterLines(config());
}
