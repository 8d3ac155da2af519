// SPDX-License-Identifier: LGPL-2.1-or-later
// The twelve functions of the snapshot library, simulated on a state file. Everything else
// in this library is built hidden, so these are the only symbols it exports.
#pragma GCC visibility push(default)
#include "norvasnapshots.h"
#pragma GCC visibility pop

#include "HandleList.h"
#include "SimFailures.h"
#include "SimOperations.h"
#include "StateFile.h"

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <syslog.h>

namespace {

// Runs one call on the state named by the environment, under its lock; false when the state
// is unavailable, and then nothing at all is written.
[[nodiscard]] bool withState(const std::function<void(SimState&)>& call)
{
    const auto path = stateFileFromEnvironment();
    return path && StateFile(*path).update(call);
}

[[nodiscard]] uint64_t now()
{
    return static_cast<uint64_t>(std::time(nullptr));
}

// The audit trail, as the real library writes it.
void notice(const std::string& change)
{
    ::openlog("libnorvasnapshots", LOG_PID, LOG_DAEMON);
    ::syslog(LOG_NOTICE, "%s", change.c_str());
    ::closelog();
}

// A figure of one snapshot, looked up by id in the current state: 0 once it is removed.
[[nodiscard]] uint64_t snapshotFigure(SnapshotHandle snapshot, std::string_view function,
                                      uint64_t SimSnapshot::*figure)
{
    uint64_t value = 0;
    if (snapshot != nullptr) {
        (void)withState([&](SimState& state) {
            if (takeInjectedFailure(state, function, snapshot->id)) {
                return;
            }
            const SimSnapshot* found = findSnapshot(state, snapshot->id);
            value = found == nullptr ? 0 : found->*figure;
        });
    }
    return value;
}

[[nodiscard]] uint64_t volumeFigure(std::string_view function, uint64_t SimState::*figure)
{
    uint64_t value = 0;
    (void)withState([&](SimState& state) {
        if (!takeInjectedFailure(state, function)) {
            value = state.*figure;
        }
    });
    return value;
}

// Runs a change of one snapshot; true when the state was there, no failure was injected and
// the change itself succeeded (a failed change leaves the snapshots as they were).
[[nodiscard]] bool changeSnapshot(SnapshotHandle snapshot, std::string_view function,
                                  const std::function<bool(SimState&, uint64_t)>& change)
{
    bool changed = false;
    return snapshot != nullptr && withState([&](SimState& state) {
               changed = !takeInjectedFailure(state, function, snapshot->id) &&
                         change(state, snapshot->id);
           }) &&
           changed;
}

} // namespace

SnapshotList existing_lvm_snapshots(void)
{
    std::vector<uint64_t> ids;
    (void)withState([&](SimState& state) {
        if (!takeInjectedFailure(state, "existing_lvm_snapshots")) {
            ids = idsOldestFirst(state);
        }
    });
    return makeHandleList(ids);
}

void free_existing_lvm_snapshots(SnapshotList list)
{
    releaseHandleList(list);
}

bool create_lvm_snapshot(uint64_t size)
{
    std::optional<uint64_t> id;
    uint64_t bytes = 0;
    const bool available = withState([&](SimState& state) {
        bytes = requestedSize(state, size);
        id = takeInjectedFailure(state, "create_lvm_snapshot") ? std::nullopt
                                                               : createSnapshot(state, size, now());
    });
    if (available && id) {
        notice("created snapshot " + std::to_string(*id) + " of " + std::to_string(bytes) +
               " bytes");
    }
    return available && id.has_value();
}

int32_t can_create_lvm_snapshot(uint64_t size)
{
    NorvaCanCreate code = NORVA_REPORT_FAILED;
    const bool available = withState([&](SimState& state) {
        code = takeInjectedFailure(state, "can_create_lvm_snapshot") ? NORVA_REPORT_FAILED
                                                                     : canCreate(state, size);
    });
    return available ? code : NORVA_REPORT_FAILED;
}

bool remove_lvm_snapshot(SnapshotHandle snapshot)
{
    const bool removed = changeSnapshot(snapshot, "remove_lvm_snapshot", removeSnapshot);
    if (removed) {
        notice("removed snapshot " + std::to_string(snapshot->id));
    }
    return removed;
}

bool resize_lvm_snapshot(SnapshotHandle snapshot, uint64_t size)
{
    uint64_t bytes = 0;
    const bool resized = changeSnapshot(snapshot, "resize_lvm_snapshot",
                                        [size, &bytes](SimState& state, uint64_t id) {
                                            bytes = requestedSize(state, size);
                                            return resizeSnapshot(state, id, size);
                                        });
    if (resized) {
        notice("resized snapshot " + std::to_string(snapshot->id) + " to " + std::to_string(bytes) +
               " bytes");
    }
    return resized;
}

uint64_t lvm_snapshot_creation_time(SnapshotHandle snapshot)
{
    return snapshotFigure(snapshot, "lvm_snapshot_creation_time", &SimSnapshot::creationTime);
}

uint64_t lvm_snapshot_filling_percent(SnapshotHandle snapshot)
{
    return snapshotFigure(snapshot, "lvm_snapshot_filling_percent", &SimSnapshot::fillingPercent);
}

uint64_t lvm_snapshot_size(SnapshotHandle snapshot)
{
    return snapshotFigure(snapshot, "lvm_snapshot_size", &SimSnapshot::size);
}

uint64_t root_volume_size(void)
{
    return volumeFigure("root_volume_size", &SimState::rootSize);
}

uint64_t root_vg_free_space(void)
{
    return volumeFigure("root_vg_free_space", &SimState::vgFree);
}

uint64_t boot_partition_used_space(void)
{
    return volumeFigure("boot_partition_used_space", &SimState::bootUsed);
}
