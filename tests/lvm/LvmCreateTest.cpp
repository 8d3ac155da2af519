#include "LvmFixture.h"
#include "norvasnapshots-lvm.h"

using Argv = std::vector<std::string>;

class LvmCreate : public LvmFixture {
protected:
    [[nodiscard]] Argv lastCall() const { return argvs().back(); }
};

TEST_F(LvmCreate, FullSizedIsTheLargestUsefulSizeWithExplicitExtentsAndOurTags)
{
    ASSERT_TRUE(create_lvm_snapshot(0));
    EXPECT_EQ(lastCall(),
              (Argv{"lvcreate", "-y", "-s", "-c", "4k", "-l", "129", "-n", "root_snap_1796549600",
                    "--addtag", "norvasnap", "--addtag", "norvasnap_size_536870912", "--addtag",
                    "norvasnap_seq_1", "vg/root"}));
    EXPECT_EQ(lvState("root_snap_1796549600").at("extents").as_int64(), 129);
}

TEST_F(LvmCreate, AFullSizedSnapshotAnswersTheRootVolumesSize)
{
    ASSERT_TRUE(create_lvm_snapshot(0));
    SnapshotList list = existing_lvm_snapshots();
    ASSERT_NE(list[0], nullptr);
    EXPECT_EQ(lvm_snapshot_size(list[0]), root_volume_size());
    EXPECT_EQ(lvm_snapshot_creation_time(list[0]), kNow);
    EXPECT_EQ(lvm_snapshot_filling_percent(list[0]), 0U);
    free_existing_lvm_snapshots(list);
}

TEST_F(LvmCreate, ASmallerSizeRoundsUpToExtentsAndIsAnsweredAsAsked)
{
    const uint64_t asked = 329999999;
    ASSERT_EQ(can_create_lvm_snapshot(asked), NORVA_LVM_CAN_CREATE);
    ASSERT_TRUE(create_lvm_snapshot(asked));
    EXPECT_EQ(lastCall()[6], "79");
    EXPECT_EQ(lastCall()[12], "norvasnap_size_329999999");
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(lvm_snapshot_size(list[0]), asked);
    free_existing_lvm_snapshots(list);
    // Asking and creating read the VG once between them.
    EXPECT_EQ(argvs().size(), 3U);
}

TEST_F(LvmCreate, AnswersZeroExactlyWhenTheExtentsAreFree)
{
    seed({}, 128 + 129);
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_LVM_CAN_CREATE);
    EXPECT_EQ(can_create_lvm_snapshot(kRootSize), NORVA_LVM_CAN_CREATE);
    seed({}, 128 + 128);
    startNewProcess();
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_LVM_NO_SPACE);
    EXPECT_EQ(can_create_lvm_snapshot(128 * kExtent), NORVA_LVM_NO_SPACE);
    EXPECT_EQ(can_create_lvm_snapshot(128 * kExtent - 1), NORVA_LVM_CAN_CREATE);
}

TEST_F(LvmCreate, RefusesWithoutRunningLvcreateWhenTheVgIsTooSmall)
{
    seed({{"a", 100, "1796549600"}}, 128 + 100 + 50);
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_LVM_NO_SPACE);
    EXPECT_FALSE(create_lvm_snapshot(0));
    EXPECT_EQ(changeCount(), 0U);
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_.back(), "create_lvm_snapshot: volume group vg has 50 free extents, 129 needed");
}

TEST_F(LvmCreate, TwoSnapshotsInOneSecondGetDistinctNamesAndKeepTheirOrder)
{
    ASSERT_TRUE(create_lvm_snapshot(kExtent));
    ASSERT_TRUE(create_lvm_snapshot(kExtent));
    SnapshotList list = existing_lvm_snapshots();
    const auto handles = handlesOf(list);
    ASSERT_EQ(handles.size(), 2U);
    EXPECT_EQ(handles[0]->name, "root_snap_1796549600");
    EXPECT_EQ(handles[1]->name, "root_snap_1796549600_1");
    EXPECT_EQ(handles[1]->sequence, 2U);
    free_existing_lvm_snapshots(list);
}

TEST_F(LvmCreate, AFailedLvcreateIsFalseAndLoggedWithLvmsMessage)
{
    failNext("lvcreate", 5, "  Insufficient suitable allocatable extents found.\n");
    EXPECT_FALSE(create_lvm_snapshot(0));
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_.back(), "create_lvm_snapshot: lvm lvcreate failed (exit status 5): "
                           "Insufficient suitable allocatable extents found.");
}
