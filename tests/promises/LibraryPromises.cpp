// SPDX-License-Identifier: GPL-2.0-or-later
#include "LibraryPromises.h"

#include "norvasnapshots.h"

#include <gtest/gtest.h>
#include <string>

namespace {

constexpr uint64_t E = kStageExtent;
constexpr uint64_t kBeyond = kStageRoot + 72 * E;

enum class Act { List, Create, CanCreate, Resize, Remove, Unreadable };

// The snapshots before, one call, what it answers (true = 1, or the can_create code), a fresh
// list afterwards and, where given, what the list taken before the call answers now. A list
// reads oldest first "AGE:SIZE%FILL": AGE "-" without a creation time, SIZE in extents or F for
// the root's size, no %FILL at 0. Resize and Remove act on the first snapshot of that list.
struct Promise {
    const char* what;
    std::vector<Staged> before;
    uint64_t freeSpace;
    Act act;
    uint64_t size;
    int64_t answer;
    std::string after;
    std::string held = "";
};

// clang-format off
const std::vector<Promise> kPromises = {
    {"oldest first, the undated ones before", {{10, 4 * E}, {kStageUndated, 4 * E}, {500, 0}, {100, 8 * E}},
     0, Act::List, 0, 1, "-:4 500:F 100:8 10:4"},
    {"within one second in the order made", {{60, 8 * E}, {60, 4 * E}}, 0, Act::List, 0, 1, "60:8 60:4"},
    {"a new snapshot is the newest, also in the same second, and answers the size asked", {{0, 8 * E}},
     200 * E, Act::Create, 3 * E + 5, 1, "0:8 0:12582917"},
    {"size 0 is full-sized", {}, 200 * E, Act::Create, 0, 1, "0:F"},
    {"a size beyond the root's is held at the full size", {}, 300 * E, Act::Create, kBeyond, 1, "0:F"},
    {"a creation that does not fit changes nothing", {{60, 4 * E}}, 3 * E, Act::Create, 4 * E, 0, "60:4"},
    {"can_create: a size that fits", {}, 10 * E, Act::CanCreate, 4 * E, NORVA_CAN_CREATE, ""},
    {"can_create: too little free space", {}, 3 * E, Act::CanCreate, 4 * E, NORVA_NO_SPACE, ""},
    {"can_create: full-sized needs the root's size", {}, 100 * E, Act::CanCreate, 0, NORVA_NO_SPACE, ""},
    {"a resize to 0 makes it full-sized", {{60, 4 * E}}, 300 * E, Act::Resize, 0, 1, "60:F", "60:F"},
    {"a resize beyond the root's size makes it full-sized", {{60, 4 * E}}, 300 * E, Act::Resize, kBeyond,
     1, "60:F"},
    {"a growth that does not fit changes nothing", {{60, 4 * E}}, 2 * E, Act::Resize, 8 * E, 0, "60:4",
     "60:4"},
    {"a removal takes that one, once; its handle answers 0 and the others stay",
     {{60, 4 * E}, {30, 8 * E}}, 0, Act::Remove, 0, 1, "30:8", "-:0 30:8"},
    {"unreadable volumes: nothing is listed or made", {{60, 4 * E}}, 300 * E, Act::Unreadable, 0,
     NORVA_REPORT_FAILED, ""},
};
// clang-format on

std::string viewOf(SnapshotList list, const LibraryStage& stage)
{
    std::string view;
    for (const SnapshotHandle* entry = list; *entry != nullptr; ++entry) {
        const uint64_t created = lvm_snapshot_creation_time(*entry);
        const uint64_t size = lvm_snapshot_size(*entry);
        const uint64_t fill = lvm_snapshot_filling_percent(*entry);
        const std::string age = created == 0 ? "-" : std::to_string(stage.now() - created);
        const std::string extents = size % E == 0 ? std::to_string(size / E) : std::to_string(size);
        view += (view.empty() ? "" : " ") + age + ":" + (size == kStageRoot ? "F" : extents) +
                (fill == 0 ? "" : "%" + std::to_string(fill));
    }
    return view;
}

int64_t act(const Promise& promise, SnapshotList held)
{
    switch (promise.act) {
    case Act::Create:
        return create_lvm_snapshot(promise.size);
    case Act::CanCreate:
        return can_create_lvm_snapshot(promise.size);
    case Act::Resize:
        return resize_lvm_snapshot(held[0], promise.size);
    case Act::Remove: // the second removal of the same handle must fail
        return remove_lvm_snapshot(held[0]) && !remove_lvm_snapshot(held[0]);
    case Act::Unreadable:
        EXPECT_FALSE(create_lvm_snapshot(0)) << promise.what;
        EXPECT_EQ(root_vg_free_space(), 0U) << promise.what;
        return can_create_lvm_snapshot(0);
    default:
        return 1;
    }
}

} // namespace

void expectLibraryPromises(LibraryStage& stage)
{
    for (const Promise& promise : kPromises) {
        stage.stage(promise.before, promise.freeSpace);
        if (promise.act == Act::Unreadable) {
            stage.breakVolumes();
        }
        const SnapshotList held = existing_lvm_snapshots();
        EXPECT_EQ(act(promise, held), promise.answer) << promise.what;
        const SnapshotList fresh = existing_lvm_snapshots();
        EXPECT_EQ(viewOf(fresh, stage), promise.after) << promise.what;
        if (!promise.held.empty()) {
            EXPECT_EQ(viewOf(held, stage), promise.held) << promise.what << ": the list held";
        }
        free_existing_lvm_snapshots(fresh);
        free_existing_lvm_snapshots(held);
    }
}
