#include "SnapshotOperations.h"

#include "LvmCommands.h"
#include "norvasnapshots-lvm.h"

#include <algorithm>
#include <sys/statvfs.h>

namespace {

[[nodiscard]] SnapshotGeometry newSnapshotGeometry(const LvRow& root)
{
    return {root.extentSize, root.size, kChunkSize};
}

[[nodiscard]] bool nameTaken(const std::vector<LvRow>& rows, const std::string& name)
{
    return std::any_of(rows.begin(), rows.end(),
                       [&name](const LvRow& row) { return row.name == name; });
}

// "<root LV>_snap_<creation time>", with a counter behind it in the rare case that the name
// is taken (two snapshots in one second).
[[nodiscard]] std::string newSnapshotName(const std::vector<LvRow>& rows, const LvRow& root,
                                          uint64_t now)
{
    const std::string base = root.name + "_snap_" + std::to_string(now);
    std::string name = base;
    for (uint64_t counter = 1; nameTaken(rows, name); ++counter) {
        name = base + "_" + std::to_string(counter);
    }
    return name;
}

[[nodiscard]] uint64_t nextSequence(const std::vector<LvRow>& rows, const LvRow& root)
{
    uint64_t highest = 0;
    for (const NorvaSnapshot& snapshot : snapshotsOf(rows, root)) {
        highest = std::max(highest, snapshot.sequence);
    }
    return highest + 1;
}

// The extents a new snapshot of `size` needs, or the can_create code that says why not.
[[nodiscard]] int32_t checkSpace(LvmSession& session, uint64_t size, const char* caller)
{
    const std::vector<LvRow>* rows = session.rows(caller);
    if (rows == nullptr) {
        return session.rootFound() ? NORVA_LVM_REPORT_FAILED : NORVA_LVM_NO_ROOT_VOLUME;
    }
    const LvRow& root = *session.rootRow(*rows);
    const uint64_t needed = extentsForSize(size, newSnapshotGeometry(root));
    if (root.vgFreeCount < needed) {
        session.log(caller, "volume group " + root.vgName + " has " +
                                std::to_string(root.vgFreeCount) + " free extents, " +
                                std::to_string(needed) + " needed");
        return NORVA_LVM_NO_SPACE;
    }
    return NORVA_LVM_CAN_CREATE;
}

} // namespace

SnapshotHandle* listSnapshots(LvmSession& session)
{
    const std::vector<LvRow>* rows = session.rows("existing_lvm_snapshots");
    if (rows == nullptr) {
        return session.keepList({});
    }
    return session.keepList(snapshotsOf(*rows, *session.rootRow(*rows)));
}

int32_t canCreateSnapshot(LvmSession& session, uint64_t size)
{
    return checkSpace(session, size, "can_create_lvm_snapshot");
}

bool createSnapshot(LvmSession& session, uint64_t size)
{
    constexpr const char* kCaller = "create_lvm_snapshot";
    if (checkSpace(session, size, kCaller) != NORVA_LVM_CAN_CREATE) {
        return false;
    }
    const std::vector<LvRow>& rows = *session.rows(kCaller);
    const LvRow& root = *session.rootRow(rows);
    const SnapshotGeometry geometry = newSnapshotGeometry(root);
    const NewSnapshot snapshot{root.vgName,
                               root.name,
                               newSnapshotName(rows, root, session.now()),
                               extentsForSize(size, geometry),
                               answeredSize(size, geometry),
                               nextSequence(rows, root)};
    return session.change(createCommand(snapshot), kCaller);
}

uint64_t rootVolumeSize(LvmSession& session)
{
    // Nothing this library does changes the root LV's size: the first report tells it.
    const std::vector<LvRow>* rows = session.knownRows("root_volume_size");
    return rows == nullptr ? 0 : session.rootRow(*rows)->size;
}

uint64_t rootVgFreeSpace(LvmSession& session)
{
    const std::vector<LvRow>* rows = session.rows("root_vg_free_space");
    if (rows == nullptr) {
        return 0;
    }
    const LvRow& root = *session.rootRow(*rows);
    return root.vgFreeCount * root.extentSize;
}

uint64_t bootUsedSpace(LvmSession& session)
{
    constexpr const char* kCaller = "boot_partition_used_space";
    if (session.rows(kCaller) == nullptr) {
        return 0;
    }
    struct statvfs fs {};
    if (::statvfs(session.paths().bootPath.c_str(), &fs) != 0) {
        session.log(kCaller, "cannot read the file system of " + session.paths().bootPath);
        return 0;
    }
    return (uint64_t{fs.f_blocks} - uint64_t{fs.f_bfree}) * uint64_t{fs.f_frsize};
}
