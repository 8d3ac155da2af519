// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SnapshotOperations.h"

#include "LvmCommands.h"

#include <algorithm>
#include <sys/statvfs.h>

namespace {

[[nodiscard]] SnapshotGeometry newSnapshotGeometry(const LvRow& root)
{
    return {root.extentSize, root.size, kChunkSize};
}

// "<root LV>_snap_<creation time>", with a counter behind it in the rare case that the name
// is taken (two snapshots in one second).
[[nodiscard]] std::string newSnapshotName(const LvmReport& report, uint64_t now)
{
    const std::string base = report.root().name + "_snap_" + std::to_string(now);
    std::string name = base;
    for (uint64_t counter = 1; report.nameTaken(name); ++counter) {
        name = base + "_" + std::to_string(counter);
    }
    return name;
}

[[nodiscard]] uint64_t nextSequence(const LvmReport& report)
{
    uint64_t highest = 0;
    for (const NorvaSnapshot& snapshot : ourSnapshots(report)) {
        highest = std::max(highest, snapshot.sequence);
    }
    return highest + 1;
}

// LVM's autoextension takes its extents from the free space that later snapshots were sized
// from; when that is why one does not fit, the log says so.
[[nodiscard]] std::string grownBy(const LvmReport& report)
{
    uint64_t grown = 0;
    for (const NorvaSnapshot& snapshot : ourSnapshots(report)) {
        grown += snapshot.extents - std::min(snapshot.extents, askedExtents(snapshot));
    }
    return grown == 0 ? std::string()
                      : "; LVM grew this library's snapshots by " + std::to_string(grown) +
                            " extents beyond the sizes asked for (snapshot_autoextend_percent)";
}

// Where the new snapshot goes, and the warning when it cannot go on the root's own PVs: a
// missing PV that holds a snapshot stops the root's activation at boot. With a single PV there
// is nothing to choose.
[[nodiscard]] std::vector<std::string> placement(LvmSession& session, const LvRow& root,
                                                 uint64_t bytes, const std::string& name,
                                                 const char* caller)
{
    if (root.pvCount < 2) {
        return {};
    }
    const auto volumes = session.physicalVolumes(caller);
    const auto rootPvs = volumes ? session.rootPvs(caller) : std::nullopt;
    if (!rootPvs) {
        return {};
    }
    const Placement place = placeSnapshot(*volumes, *rootPvs, bytes);
    if (place.elsewhere) {
        session.warn(root.vgName + "/" + name + " does not fit on the PVs of " + root.vgName + "/" +
                     root.name + " (" + std::to_string(place.freeOnRoot) + " of " +
                     std::to_string(bytes) + " bytes free there) and goes on other PVs of " +
                     root.vgName + ": while one of them is missing, " + root.vgName + "/" +
                     root.name +
                     " is not activated at boot (see \"A snapshot on another disk\" "
                     "in norva-snapshots-manager(8))");
    }
    return place.pvs;
}

// Whether a new snapshot of `size` fits now: the can_create code, logged when it is not 0.
[[nodiscard]] int32_t checkSpace(LvmSession& session, uint64_t size, const char* caller)
{
    const LvmReport* report = session.report(caller);
    if (report == nullptr) {
        return session.failureCode();
    }
    if (rollbackPending(session, *report, caller)) {
        return NORVA_MERGE_PENDING;
    }
    const LvRow& root = report->root();
    const uint64_t needed = extentsForSize(size, newSnapshotGeometry(root));
    if (needed == 0) {
        session.log(caller, "a snapshot of " + std::to_string(size) +
                                " bytes is smaller than one extent of " + root.vgName + " (" +
                                std::to_string(root.extentSize) + " bytes)");
        return NORVA_TOO_SMALL;
    }
    if (root.vgFreeCount < needed) {
        session.log(caller, "volume group " + root.vgName + " has " +
                                std::to_string(root.vgFreeCount) + " free extents, " +
                                std::to_string(needed) + " needed" + grownBy(*report));
        return NORVA_NO_SPACE;
    }
    return NORVA_CAN_CREATE;
}

} // namespace

bool rollbackPending(LvmSession& session, const LvmReport& report, const char* caller)
{
    if (report.rollbackPending()) {
        session.log(caller, "a snapshot is being merged back into " + report.root().vgName + "/" +
                                report.root().name +
                                " (lvconvert --merge); no snapshot is made, changed or removed "
                                "until the merge is done");
    }
    return report.rollbackPending();
}

SnapshotHandle* listSnapshots(LvmSession& session)
{
    const LvmReport* report = session.report("existing_lvm_snapshots");
    return session.keepList(report == nullptr ? std::vector<NorvaSnapshot>()
                                              : ourSnapshots(*report));
}

int32_t canCreateSnapshot(LvmSession& session, uint64_t size)
{
    return checkSpace(session, size, "can_create_lvm_snapshot");
}

bool createSnapshot(LvmSession& session, uint64_t size)
{
    constexpr const char* kCaller = "create_lvm_snapshot";
    if (checkSpace(session, size, kCaller) != NORVA_CAN_CREATE) {
        return false;
    }
    const LvmReport& report = *session.report(kCaller);
    const LvRow& root = report.root();
    const SnapshotGeometry geometry = newSnapshotGeometry(root);
    NewSnapshot snapshot{root.vgName,
                         root.name,
                         newSnapshotName(report, session.now()),
                         extentsForSize(size, geometry),
                         answeredSize(size, geometry),
                         nextSequence(report),
                         {}};
    snapshot.pvs =
        placement(session, root, snapshot.extents * root.extentSize, snapshot.name, kCaller);
    if (!session.change(createCommand(snapshot), kCaller)) {
        return false;
    }
    session.notice("created " + snapshot.vg + "/" + snapshot.name + " of " +
                   std::to_string(snapshot.extents * root.extentSize) + " bytes");
    return true;
}

uint64_t rootVolumeSize(LvmSession& session)
{
    // Nothing this library does changes the root LV's size: the first report tells it.
    const LvmReport* report = session.knownReport("root_volume_size");
    return report == nullptr ? 0 : report->root().size;
}

uint64_t rootVgFreeSpace(LvmSession& session)
{
    const LvmReport* report = session.report("root_vg_free_space");
    return report == nullptr ? 0 : report->root().vgFreeCount * report->root().extentSize;
}

uint64_t bootUsedSpace(LvmSession& session)
{
    constexpr const char* kCaller = "boot_partition_used_space";
    if (session.knownReport(kCaller) == nullptr) {
        return 0;
    }
    struct statvfs fs {};
    if (::statvfs(session.paths().bootPath.c_str(), &fs) != 0) {
        session.log(kCaller, "cannot read the file system of " + session.paths().bootPath);
        return 0;
    }
    return (uint64_t{fs.f_blocks} - uint64_t{fs.f_bfree}) * uint64_t{fs.f_frsize};
}
