// Removing and resizing one snapshot named by a handle.
#include "LvmCommands.h"
#include "SnapshotOperations.h"

namespace {

// The handle must still name a snapshot of the root volume in the root VG: the library
// removes or resizes nothing else, whatever handle it is given.
[[nodiscard]] bool ofRootVolume(LvmSession& session, const NorvaSnapshot& snapshot,
                                const char* caller)
{
    if (snapshot.removed) {
        session.log(caller, snapshot.name + " was already removed");
        return false;
    }
    // A handle comes from a list, so the root was found before.
    const RootIdentity* root = session.rootIdentity();
    if (root == nullptr) {
        return false;
    }
    if (snapshot.vgName != root->vgName || snapshot.name == root->lvName) {
        session.log(caller, snapshot.vgName + "/" + snapshot.name +
                                " is not a snapshot of the root volume");
        return false;
    }
    return true;
}

// Shrinking a classic snapshot below what it holds is not refused by LVM and breaks it.
[[nodiscard]] bool holdsMoreThan(const NorvaSnapshot& snapshot, uint64_t extents)
{
    const uint64_t used = usedBytes(snapshot.size, snapshot.fillHundredths);
    return extents < snapshot.extents && extents * snapshot.geometry.extentSize <= used;
}

} // namespace

bool removeSnapshot(LvmSession& session, NorvaSnapshot& snapshot)
{
    constexpr const char* kCaller = "remove_lvm_snapshot";
    if (!ofRootVolume(session, snapshot, kCaller) ||
        !session.change(removeCommand(snapshot.vgName, snapshot.name), kCaller)) {
        return false;
    }
    snapshot.removed = true;
    return true;
}

bool resizeSnapshot(LvmSession& session, NorvaSnapshot& snapshot, uint64_t size)
{
    constexpr const char* kCaller = "resize_lvm_snapshot";
    if (!ofRootVolume(session, snapshot, kCaller)) {
        return false;
    }
    if (snapshot.invalid || !snapshot.measurable) {
        session.log(kCaller, snapshot.name + " is invalid or inactive; resizing cannot save it");
        return false;
    }
    const uint64_t extents = extentsForSize(size, snapshot.geometry);
    const uint64_t asked = answeredSize(size, snapshot.geometry);
    if (holdsMoreThan(snapshot, extents)) {
        session.log(kCaller, "refusing to shrink " + snapshot.name + " to " +
                                 std::to_string(extents) + " extents: it holds more");
        return false;
    }
    if (extents != snapshot.extents) {
        if (!session.change(resizeCommand(snapshot.vgName, snapshot.name, extents), kCaller)) {
            return false;
        }
        snapshot.extents = extents;
        snapshot.size = extents * snapshot.geometry.extentSize;
    }
    if (snapshot.askedSize != asked) {
        if (!session.change(retagCommand(snapshot.vgName, snapshot.name, snapshot.askedSize, asked),
                            kCaller)) {
            return false;
        }
        snapshot.askedSize = asked;
    }
    return true;
}
