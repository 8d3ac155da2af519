// The twelve C functions of the snapshot library, answered by the test's current fake. A call
// made while no test owns a fake is a test failure, answered as a failed call would be.
#include "fakes/FakeSnapshotLibrary.h"
#include "snapshots/norvasnapshots.h"

#include <gtest/gtest.h>

namespace {

FakeSnapshotLibrary* currentFake(const char* function)
{
    FakeSnapshotLibrary* fake = FakeSnapshotLibrary::current();
    if (fake == nullptr) {
        ADD_FAILURE() << function << " called with no FakeSnapshotLibrary in place";
    }
    return fake;
}

} // namespace

extern "C" {

SnapshotList existing_lvm_snapshots(void)
{
    // Handed out when there is no fake: a list is never a null pointer.
    static SnapshotHandle noSnapshots[1] = {nullptr};
    FakeSnapshotLibrary* fake = currentFake("existing_lvm_snapshots");
    return fake != nullptr ? fake->existing() : noSnapshots;
}

void free_existing_lvm_snapshots(SnapshotList list)
{
    if (FakeSnapshotLibrary* fake = currentFake("free_existing_lvm_snapshots")) {
        fake->release(list);
    }
}

bool create_lvm_snapshot(uint64_t size)
{
    FakeSnapshotLibrary* fake = currentFake("create_lvm_snapshot");
    return fake != nullptr && fake->create(size);
}

int32_t can_create_lvm_snapshot(uint64_t size)
{
    FakeSnapshotLibrary* fake = currentFake("can_create_lvm_snapshot");
    return fake != nullptr ? fake->canCreate(size) : FakeSnapshotLibrary::kInjectedRefusal;
}

bool remove_lvm_snapshot(SnapshotHandle snapshot)
{
    FakeSnapshotLibrary* fake = currentFake("remove_lvm_snapshot");
    return fake != nullptr && fake->remove(snapshot);
}

bool resize_lvm_snapshot(SnapshotHandle snapshot, uint64_t size)
{
    FakeSnapshotLibrary* fake = currentFake("resize_lvm_snapshot");
    return fake != nullptr && fake->resize(snapshot, size);
}

uint64_t lvm_snapshot_creation_time(SnapshotHandle snapshot)
{
    FakeSnapshotLibrary* fake = currentFake("lvm_snapshot_creation_time");
    return fake != nullptr ? fake->creationTimeOf(snapshot) : 0;
}

uint64_t lvm_snapshot_filling_percent(SnapshotHandle snapshot)
{
    FakeSnapshotLibrary* fake = currentFake("lvm_snapshot_filling_percent");
    return fake != nullptr ? fake->fillingOf(snapshot) : 0;
}

uint64_t lvm_snapshot_size(SnapshotHandle snapshot)
{
    FakeSnapshotLibrary* fake = currentFake("lvm_snapshot_size");
    return fake != nullptr ? fake->sizeOf(snapshot) : 0;
}

uint64_t root_volume_size(void)
{
    FakeSnapshotLibrary* fake = currentFake("root_volume_size");
    return fake != nullptr ? fake->volumeAnswer("root_volume_size", fake->rootSize()) : 0;
}

uint64_t root_vg_free_space(void)
{
    FakeSnapshotLibrary* fake = currentFake("root_vg_free_space");
    return fake != nullptr ? fake->volumeAnswer("root_vg_free_space", fake->vgFree()) : 0;
}

uint64_t boot_partition_used_space(void)
{
    FakeSnapshotLibrary* fake = currentFake("boot_partition_used_space");
    return fake != nullptr ? fake->volumeAnswer("boot_partition_used_space", fake->bootUsed()) : 0;
}

} // extern "C"
