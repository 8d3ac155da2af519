#include "LvmFixture.h"
#include "SnapshotOperations.h"

using Argv = std::vector<std::string>;

// One snapshot "s" of 16 extents, asked for 16 extents exactly, filled to `percent`.
class LvmChange : public LvmFixture {
protected:
    SnapshotHandle listOne(const std::string& percent = "25.00", bool invalid = false)
    {
        seed({{"s",
               16,
               "1796549600",
               percent,
               {"norvasnap", "norvasnap_size_" + std::to_string(16 * kExtent), "norvasnap_seq_1"},
               invalid}});
        list_ = existing_lvm_snapshots();
        return list_[0];
    }
    void TearDown() override
    {
        if (list_ != nullptr) {
            free_existing_lvm_snapshots(list_);
        }
        LvmFixture::TearDown();
    }

    SnapshotList list_ = nullptr;
};

TEST_F(LvmChange, GrowingResizesByExtentsAndRemembersTheAskedSize)
{
    SnapshotHandle snapshot = listOne();
    ASSERT_TRUE(resize_lvm_snapshot(snapshot, 100 * kMiB + 1));
    const auto all = argvs();
    ASSERT_EQ(all.size(), 3U);
    EXPECT_EQ(all[1], (Argv{"lvresize", "-y", "-l", "26", "vg/s"}));
    EXPECT_EQ(all[2], (Argv{"lvchange", "--deltag", "norvasnap_size_67108864", "--addtag",
                            "norvasnap_size_104857601", "vg/s"}));
    EXPECT_EQ(lvm_snapshot_size(snapshot), 100 * kMiB + 1);
    SnapshotList fresh = existing_lvm_snapshots();
    EXPECT_EQ(lvm_snapshot_size(fresh[0]), 100 * kMiB + 1);
    free_existing_lvm_snapshots(fresh);
}

TEST_F(LvmChange, ResizingToFullSizeTakesTheLargestUsefulSize)
{
    SnapshotHandle snapshot = listOne();
    ASSERT_TRUE(resize_lvm_snapshot(snapshot, root_volume_size()));
    EXPECT_EQ(argvs()[1], (Argv{"lvresize", "-y", "-l", "129", "vg/s"}));
    EXPECT_EQ(lvm_snapshot_size(snapshot), kRootSize);
}

TEST_F(LvmChange, ResizingToTheSizeItHasChangesNothing)
{
    SnapshotHandle snapshot = listOne();
    ASSERT_TRUE(resize_lvm_snapshot(snapshot, 16 * kExtent));
    EXPECT_EQ(changeCount(), 0U);
}

TEST_F(LvmChange, ASizeWithinTheSameExtentsOnlyRetags)
{
    SnapshotHandle snapshot = listOne();
    ASSERT_TRUE(resize_lvm_snapshot(snapshot, 16 * kExtent - 100));
    EXPECT_EQ(argvs().back(), (Argv{"lvchange", "--deltag", "norvasnap_size_67108864", "--addtag",
                                    "norvasnap_size_67108764", "vg/s"}));
    EXPECT_EQ(changeCount(), 1U);
}

TEST_F(LvmChange, ShrinksOnlyAboveTheSpaceInUse)
{
    SnapshotHandle snapshot = listOne("50.00"); // 32 MiB of 64 MiB in use
    EXPECT_FALSE(resize_lvm_snapshot(snapshot, 32 * kMiB));
    EXPECT_FALSE(resize_lvm_snapshot(snapshot, kMiB));
    EXPECT_EQ(changeCount(), 0U);
    ASSERT_TRUE(resize_lvm_snapshot(snapshot, 36 * kMiB));
    EXPECT_EQ(argvs()[1], (Argv{"lvresize", "-y", "-l", "9", "vg/s"}));
}

TEST_F(LvmChange, AnInvalidSnapshotIsNeitherGrownNorShrunk)
{
    SnapshotHandle snapshot = listOne("100.00", true);
    EXPECT_GE(lvm_snapshot_filling_percent(snapshot), 100U);
    EXPECT_FALSE(resize_lvm_snapshot(snapshot, 0));
    EXPECT_EQ(changeCount(), 0U);
}

TEST_F(LvmChange, AFailedLvresizeLeavesTheHandleAsItWas)
{
    SnapshotHandle snapshot = listOne();
    failNext("lvresize", 5,
             "  Insufficient free space: 113 extents needed, but only 2 available\n");
    EXPECT_FALSE(resize_lvm_snapshot(snapshot, 0));
    EXPECT_EQ(lvm_snapshot_size(snapshot), 16 * kExtent);
    EXPECT_EQ(changeCount(), 1U);
    EXPECT_NE(log_.back().find("Insufficient free space"), std::string::npos);
}

TEST_F(LvmChange, ASnapshotResizedBehindOurBackAnswersItsRealSize)
{
    seed({{"s", 20, "1796549600", "1.00", {"norvasnap_size_" + std::to_string(16 * kExtent)}}});
    list_ = existing_lvm_snapshots();
    EXPECT_EQ(lvm_snapshot_size(list_[0]), 20 * kExtent);
}

TEST_F(LvmChange, RemovingRunsLvremoveAndTheHandleThenAnswersZero)
{
    SnapshotHandle snapshot = listOne();
    ASSERT_TRUE(remove_lvm_snapshot(snapshot));
    EXPECT_EQ(argvs().back(), (Argv{"lvremove", "-y", "vg/s"}));
    EXPECT_EQ(lvm_snapshot_creation_time(snapshot), 0U);
    EXPECT_EQ(lvm_snapshot_size(snapshot), 0U);
    EXPECT_FALSE(remove_lvm_snapshot(snapshot));
    EXPECT_FALSE(resize_lvm_snapshot(snapshot, 0));
    EXPECT_EQ(changeCount(), 1U);
    EXPECT_EQ(lvNames(), (std::vector<std::string>{"root"}));
}

TEST_F(LvmChange, NeverRemovesOrResizesTheRootVolumeOrAnotherVg)
{
    (void)listOne();
    NorvaSnapshot root;
    root.name = "root";
    root.vgName = "vg";
    root.measurable = true;
    EXPECT_FALSE(removeSnapshot(*session_, root));
    EXPECT_FALSE(resizeSnapshot(*session_, root, 0));
    NorvaSnapshot elsewhere;
    elsewhere.name = "s";
    elsewhere.vgName = "other";
    EXPECT_FALSE(removeSnapshot(*session_, elsewhere));
    EXPECT_EQ(changeCount(), 0U);
    EXPECT_FALSE(remove_lvm_snapshot(nullptr));
    EXPECT_FALSE(resize_lvm_snapshot(nullptr, 0));
}

TEST_F(LvmChange, AFailedRemovalIsFalseAndLogged)
{
    SnapshotHandle snapshot = listOne();
    failNext("lvremove", 5, "  Logical volume vg/s in use.\n");
    EXPECT_FALSE(remove_lvm_snapshot(snapshot));
    EXPECT_NE(lvm_snapshot_creation_time(snapshot), 0U);
    EXPECT_EQ(log_.back(),
              "remove_lvm_snapshot: lvm lvremove failed (exit status 5): Logical volume vg/s in "
              "use.");
}
