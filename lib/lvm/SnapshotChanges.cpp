// SPDX-License-Identifier: LGPL-2.1-or-later
// Removing and resizing one snapshot named by a handle.
#include "LvmCommands.h"
#include "SnapshotOperations.h"

#include <algorithm>

namespace {

// The snapshot the handle names as the current report shows it, found by its uuid: only then
// is the name in the command that LV. Null (and logged) when it is gone, when it is no longer
// one of our snapshots of the root, or while a rollback is pending.
[[nodiscard]] const LvRow* currentRow(LvmSession& session, const NorvaSnapshot& snapshot,
                                      const char* caller)
{
    if (snapshot.removed) {
        session.log(caller, snapshot.name + " was already removed");
        return nullptr;
    }
    const LvmReport* report = session.report(caller);
    if (report == nullptr || rollbackPending(session, *report, caller)) {
        return nullptr;
    }
    const LvRow* row = report->find(snapshot.uuid);
    if (row == nullptr || !report->isOurs(*row)) {
        session.log(caller, snapshot.vgName + "/" + snapshot.name + " (uuid " + snapshot.uuid +
                                ") is no longer a snapshot of the root volume made by this "
                                "library; it is left alone");
        return nullptr;
    }
    return row;
}

// Shrinking a classic snapshot below what it holds is not refused by LVM and breaks it.
[[nodiscard]] bool holdsMoreThan(const NorvaSnapshot& snapshot, uint64_t extents)
{
    const uint64_t used = usedBytes(snapshot.size, snapshot.fillHundredths);
    return extents < snapshot.extents && extents * snapshot.geometry.extentSize <= used;
}

// Why a resize of `current` to `extents` must not be done; empty when it may.
[[nodiscard]] std::string resizeRefusal(const NorvaSnapshot& current, uint64_t extents)
{
    if (current.invalid || !current.measurable) {
        return current.name + " is invalid or inactive; resizing cannot save it";
    }
    if (extents == 0) {
        return "a size below one extent was asked for " + current.name;
    }
    if (holdsMoreThan(current, extents)) {
        return "refusing to shrink " + current.name + " to " + std::to_string(extents) +
               " extents: it holds more";
    }
    return {};
}

} // namespace

bool removeSnapshot(LvmSession& session, NorvaSnapshot& snapshot)
{
    constexpr const char* kCaller = "remove_lvm_snapshot";
    const LvRow* row = currentRow(session, snapshot, kCaller);
    if (row == nullptr || !session.change(removeCommand(row->vgName, row->name), kCaller)) {
        return false;
    }
    session.notice("removed " + row->vgName + "/" + row->name);
    snapshot.removed = true;
    return true;
}

bool resizeSnapshot(LvmSession& session, NorvaSnapshot& snapshot, uint64_t size)
{
    constexpr const char* kCaller = "resize_lvm_snapshot";
    const LvRow* row = currentRow(session, snapshot, kCaller);
    if (row == nullptr) {
        return false;
    }
    NorvaSnapshot current = snapshotFromRow(*row, session.knownReport(kCaller)->root());
    const uint64_t wanted = extentsForSize(size, current.geometry);
    // A snapshot that LVM grew (autoextension) keeps what LVM gave it: the asked size is a floor.
    const bool grownByLvm = current.extents > askedExtents(current);
    const uint64_t extents = wanted != 0 && grownByLvm ? std::max(wanted, current.extents) : wanted;
    const uint64_t asked = answeredSize(size, current.geometry);
    if (const std::string refusal = resizeRefusal(current, extents); !refusal.empty()) {
        session.log(kCaller, refusal);
        return false;
    }
    if (extents != current.extents) {
        if (!session.change(resizeCommand(current.vgName, current.name, extents), kCaller)) {
            return false;
        }
        session.notice("resized " + current.vgName + "/" + current.name + " from " +
                       std::to_string(current.size) + " to " +
                       std::to_string(extents * current.geometry.extentSize) + " bytes");
        current.extents = extents;
        current.size = extents * current.geometry.extentSize;
    }
    if (current.askedSize != asked) {
        if (!session.change(retagCommand(current.vgName, current.name, current.askedSize, asked),
                            kCaller)) {
            return false;
        }
        current.askedSize = asked;
    }
    current.removed = snapshot.removed;
    snapshot = current;
    return true;
}
