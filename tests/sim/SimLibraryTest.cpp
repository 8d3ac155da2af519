#include "SimStateFixture.h"

#include <ctime>

namespace {

// Root 10 GiB, 40 GiB free, two snapshots whose ids are out of order in the list.
constexpr const char* kTwoSnapshots = "root_size 10737418240\n"
                                      "vg_free 42949672960\n"
                                      "boot_used 209715200\n"
                                      "next_id 10\n"
                                      "snapshot 7 1000 10737418240 30\n"
                                      "snapshot 3 2000 1073741824 0\n";

class SimLibrary : public SimStateFixture {
protected:
    void SetUp() override
    {
        SimStateFixture::SetUp();
        writeState(kTwoSnapshots);
    }
};

TEST_F(SimLibrary, ListsSnapshotsInFileOrderOldestFirst)
{
    const HeldList list(existing_lvm_snapshots());
    EXPECT_EQ(creationTimes(list), (std::vector<uint64_t>{1000, 2000}));
    EXPECT_EQ(lvm_snapshot_size(handlesOf(list)[0]), 10 * kGiB);
    EXPECT_EQ(lvm_snapshot_filling_percent(handlesOf(list)[0]), 30u);
    EXPECT_EQ(root_volume_size(), 10 * kGiB);
    EXPECT_EQ(root_vg_free_space(), 40 * kGiB);
    EXPECT_EQ(boot_partition_used_space(), 200u << 20);
}

TEST_F(SimLibrary, CreatesNewestSnapshotWithCurrentTimeFromFreeSpace)
{
    const auto before = static_cast<uint64_t>(std::time(nullptr));
    ASSERT_TRUE(create_lvm_snapshot(2 * kGiB));
    const auto after = static_cast<uint64_t>(std::time(nullptr));

    const HeldList list(existing_lvm_snapshots());
    const auto handles = handlesOf(list);
    ASSERT_EQ(handles.size(), 3u);
    EXPECT_GE(lvm_snapshot_creation_time(handles[2]), before);
    EXPECT_LE(lvm_snapshot_creation_time(handles[2]), after);
    EXPECT_EQ(lvm_snapshot_size(handles[2]), 2 * kGiB);
    EXPECT_EQ(lvm_snapshot_filling_percent(handles[2]), 0u);
    EXPECT_EQ(root_vg_free_space(), 38 * kGiB);
}

TEST_F(SimLibrary, SizeZeroMeansRootVolumeSize)
{
    EXPECT_EQ(can_create_lvm_snapshot(0), 0);
    ASSERT_TRUE(create_lvm_snapshot(0));
    const HeldList list(existing_lvm_snapshots());
    EXPECT_EQ(lvm_snapshot_size(handlesOf(list).back()), 10 * kGiB);
    EXPECT_EQ(root_vg_free_space(), 30 * kGiB);
}

TEST_F(SimLibrary, RefusesCreationBeyondFreeSpaceAndChangesNothing)
{
    EXPECT_EQ(can_create_lvm_snapshot(40 * kGiB), 0);
    EXPECT_EQ(can_create_lvm_snapshot(40 * kGiB + 1), 1);
    const std::string before = stateText();
    EXPECT_FALSE(create_lvm_snapshot(40 * kGiB + 1));
    EXPECT_EQ(stateText(), before);

    writeState("root_size 100\nvg_free 99\n");
    EXPECT_EQ(can_create_lvm_snapshot(0), 1);
    EXPECT_FALSE(create_lvm_snapshot(0));
}

TEST_F(SimLibrary, HeldListIgnoresLaterCreationAndRemoval)
{
    const HeldList held(existing_lvm_snapshots());
    ASSERT_TRUE(create_lvm_snapshot(kGiB));
    ASSERT_TRUE(remove_lvm_snapshot(handlesOf(held)[1]));
    EXPECT_EQ(handlesOf(held).size(), 2u);

    const HeldList fresh(existing_lvm_snapshots());
    ASSERT_EQ(handlesOf(fresh).size(), 2u);
    EXPECT_EQ(lvm_snapshot_creation_time(handlesOf(fresh)[0]), 1000u);
    EXPECT_EQ(lvm_snapshot_size(handlesOf(fresh)[1]), kGiB);
}

TEST_F(SimLibrary, RemovedSnapshotAnswersZeroUntilListReleasedAndGivesSpaceBack)
{
    const HeldList list(existing_lvm_snapshots());
    const SnapshotHandle full = handlesOf(list)[0];
    ASSERT_TRUE(remove_lvm_snapshot(full));
    EXPECT_EQ(root_vg_free_space(), 50 * kGiB);
    EXPECT_EQ(lvm_snapshot_creation_time(full), 0u);
    EXPECT_EQ(lvm_snapshot_size(full), 0u);
    EXPECT_EQ(lvm_snapshot_filling_percent(full), 0u);
    EXPECT_FALSE(remove_lvm_snapshot(full));
    EXPECT_FALSE(resize_lvm_snapshot(full, kGiB));
    EXPECT_EQ(root_vg_free_space(), 50 * kGiB);
    // A new snapshot never takes over the id of a removed one.
    ASSERT_TRUE(create_lvm_snapshot(kGiB));
    EXPECT_EQ(lvm_snapshot_creation_time(full), 0u);
}

TEST_F(SimLibrary, ResizeKeepsUsedBytesSoFillingScales)
{
    const HeldList list(existing_lvm_snapshots());
    const SnapshotHandle full = handlesOf(list)[0]; // 10 GiB, 30 percent

    ASSERT_TRUE(resize_lvm_snapshot(full, 20 * kGiB));
    EXPECT_EQ(lvm_snapshot_filling_percent(full), 15u);
    EXPECT_EQ(root_vg_free_space(), 30 * kGiB);

    ASSERT_TRUE(resize_lvm_snapshot(full, 7 * kGiB)); // 300 / 7, rounded down
    EXPECT_EQ(lvm_snapshot_filling_percent(full), 42u);
    EXPECT_EQ(root_vg_free_space(), 43 * kGiB);

    ASSERT_TRUE(resize_lvm_snapshot(full, 2 * kGiB)); // below its used space
    EXPECT_EQ(lvm_snapshot_filling_percent(full), 147u);

    ASSERT_TRUE(resize_lvm_snapshot(full, 0));
    EXPECT_EQ(lvm_snapshot_size(full), 10 * kGiB);
    EXPECT_EQ(root_vg_free_space(), 40 * kGiB);
}

TEST_F(SimLibrary, RefusesGrowthBeyondFreeSpace)
{
    const HeldList list(existing_lvm_snapshots());
    const SnapshotHandle small = handlesOf(list)[1]; // 1 GiB
    EXPECT_TRUE(resize_lvm_snapshot(small, 41 * kGiB));
    EXPECT_FALSE(resize_lvm_snapshot(small, 41 * kGiB + 1));
    EXPECT_EQ(lvm_snapshot_size(small), 41 * kGiB);
    EXPECT_EQ(root_vg_free_space(), 0u);
}

} // namespace
