#include "scripts/ManagerQueue.h"

#include "automation/Automation.h"
#include "cli/Translate.h"
#include "scripts/Clock.h"
#include "scripts/ParameterLines.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"

namespace {

// Removes every entry of a fresh list that `shouldGo` picks, each one tried even after a failure.
template <typename Predicate> bool removeEvery(Predicate shouldGo)
{
    const SnapshotListGuard list;
    bool allRemoved = true;
    for (const SnapshotHandle snapshot : list) {
        if (shouldGo(snapshot)) {
            allRemoved = remove_lvm_snapshot(snapshot) && allRemoved;
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
    if (!removeAllSnapshots()) {
        return false;
    }
    const uint64_t size = queueSnapshotSize(root_vg_free_space(), config().quantity);
    if (can_create_lvm_snapshot(size) != 0) {
        return false;
    }
    mutableConfig().snapshotSize = size;
    if (!startAutomation(*this)) {
        return false;
    }
    return create_lvm_snapshot(size);
}

bool ManagerQueue::check()
{
    return hasSaneParameters() && removeUndatedSnapshots() && trimQueue() &&
           resizeQueueSnapshots() && rotateQueue() && holdsAtMostQuantity();
}

bool ManagerQueue::holdsAtMostQuantity() const
{
    const SnapshotListGuard list;
    return static_cast<int64_t>(list.size()) <= config().quantity;
}

bool ManagerQueue::hasSaneParameters() const
{
    return config().quantity >= 1 && config().lifetime >= 1;
}

uint64_t ManagerQueue::period() const
{
    return periodSeconds(config().lifetime);
}

bool ManagerQueue::removeUndatedSnapshots()
{
    return removeEvery(
        [](SnapshotHandle snapshot) { return lvm_snapshot_creation_time(snapshot) == 0; });
}

bool ManagerQueue::trimQueue() const
{
    if (!removeCloseSnapshots()) {
        return false;
    }
    const SnapshotListGuard list;
    const auto held = static_cast<int64_t>(list.size());
    const int64_t excess = held - config().quantity;
    return excess <= 0 || removeEntries(list, 0, static_cast<std::size_t>(excess));
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
        if (!remove_lvm_snapshot(list.at(index + 1))) {
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
            allResized = resize_lvm_snapshot(snapshot, config().snapshotSize) && allResized;
        }
    }
    return allResized;
}

bool ManagerQueue::removeOverfilledSnapshots()
{
    return removeEvery([](SnapshotHandle snapshot) { return isOverfilled(snapshot); });
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
            if (held >= config().quantity && !remove_lvm_snapshot(list.first())) {
                return false;
            }
        }
    }
    return createIfAllowed(config().snapshotSize);
}

void ManagerQueue::info()
{
    writeDaysLine(trNoop("Snapshots rotation period: "), config().lifetime);
    writeCountLine(trNoop("Number of snapshots in a queue: "), config().quantity);
}
