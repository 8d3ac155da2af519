#include "LvmFixture.h"
#include "norvasnapshots-lvm.h"

#include <fstream>

using Argv = std::vector<std::string>;

namespace {

const Argv kReport{"lvs",
                   "--reportformat",
                   "json",
                   "--units",
                   "b",
                   "--nosuffix",
                   "--config",
                   "report/time_format=\"%s\"",
                   "-o",
                   "lv_name,vg_name,lv_uuid,vg_uuid,lv_attr,lv_size,origin,origin_size,lv_time,"
                   "snap_percent,chunk_size,lv_tags,vg_extent_size,vg_free_count",
                   "vg"};

} // namespace

class LvmList : public LvmFixture {};

TEST_F(LvmList, ListsSnapshotsOfTheRootOldestFirstWithOurTieBreaker)
{
    seed({{"late", 4, "1796549700"},
          {"second", 4, "1796549600", "0.01", {"norvasnap", "norvasnap_seq_8"}},
          {"first", 4, "1796549600", "0.01", {"norvasnap", "norvasnap_seq_7"}},
          {"home_snap", 4, "1796549000", "0.01", {}, false, "home"},
          {"home", 10, "1796540000", "", {}, false, ""}});
    SnapshotList list = existing_lvm_snapshots();
    const auto handles = handlesOf(list);
    ASSERT_EQ(handles.size(), 3U);
    EXPECT_EQ(handles[0]->name, "first");
    EXPECT_EQ(handles[1]->name, "second");
    EXPECT_EQ(handles[2]->name, "late");
    EXPECT_EQ(lvm_snapshot_creation_time(handles[2]), 1796549700U);
    free_existing_lvm_snapshots(list);
    EXPECT_EQ(argvs(), std::vector<Argv>{kReport});
}

TEST_F(LvmList, ASnapshotWithoutCreationTimeAnswersZeroAndComesFirst)
{
    seed({{"dated", 4, "1796549600"}, {"undated", 4, ""}});
    SnapshotList list = existing_lvm_snapshots();
    const auto handles = handlesOf(list);
    ASSERT_EQ(handles.size(), 2U);
    EXPECT_EQ(handles[0]->name, "undated");
    EXPECT_EQ(lvm_snapshot_creation_time(handles[0]), 0U);
    free_existing_lvm_snapshots(list);
}

TEST_F(LvmList, ReusesTheReportUntilThisProcessChangesSomething)
{
    seed({{"a", 4, "1796549600"}});
    for (int i = 0; i < 3; ++i) {
        free_existing_lvm_snapshots(existing_lvm_snapshots());
    }
    EXPECT_EQ(root_volume_size(), kRootSize);
    EXPECT_EQ(root_vg_free_space(), (1023 - 128 - 4) * kExtent);
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_LVM_CAN_CREATE);
    EXPECT_EQ(argvs().size(), 1U);

    SnapshotList list = existing_lvm_snapshots();
    ASSERT_TRUE(remove_lvm_snapshot(list[0]));
    SnapshotList after = existing_lvm_snapshots();
    EXPECT_EQ(after[0], nullptr);
    EXPECT_EQ(argvs(), (std::vector<Argv>{kReport, {"lvremove", "-y", "vg/a"}, kReport}));
    free_existing_lvm_snapshots(after);
    free_existing_lvm_snapshots(list);
}

TEST_F(LvmList, AHeldListKeepsWhatItReadAfterChanges)
{
    seed({{"a", 4, "1796549600", "12.34"}});
    SnapshotList list = existing_lvm_snapshots();
    ASSERT_TRUE(create_lvm_snapshot(0));
    ASSERT_EQ(handlesOf(list).size(), 1U);
    EXPECT_EQ(lvm_snapshot_filling_percent(list[0]), 12U);
    EXPECT_EQ(lvm_snapshot_size(list[0]), 4 * kExtent);
    SnapshotList fresh = existing_lvm_snapshots();
    EXPECT_EQ(handlesOf(fresh).size(), 2U);
    free_existing_lvm_snapshots(fresh);
    free_existing_lvm_snapshots(list);
}

TEST_F(LvmList, ARootOnAPlainDiskAnswersFailureEverywhereWithoutRunningLvm)
{
    seed({{"a", 4, "1796549600"}});
    makeRootAPlainDisk();
    SnapshotList list = existing_lvm_snapshots();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list[0], nullptr);
    free_existing_lvm_snapshots(list);
    EXPECT_FALSE(create_lvm_snapshot(0));
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_LVM_NO_ROOT_VOLUME);
    EXPECT_EQ(root_volume_size(), 0U);
    EXPECT_EQ(root_vg_free_space(), 0U);
    EXPECT_EQ(boot_partition_used_space(), 0U);
    EXPECT_TRUE(calls().empty());
    // Said once, not once per call.
    ASSERT_EQ(log_.size(), 1U);
    EXPECT_EQ(log_[0], "existing_lvm_snapshots: / (device 254:0) is not an LVM logical volume; "
                       "no snapshot of it is listed, made or changed");
}

TEST_F(LvmList, MissingLvmAnswersFailureAndIsLogged)
{
    removeLvm();
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(list[0], nullptr);
    free_existing_lvm_snapshots(list);
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_LVM_REPORT_FAILED);
    EXPECT_EQ(boot_partition_used_space(), 0U);
    ASSERT_FALSE(log_.empty());
    EXPECT_NE(log_[0].find("existing_lvm_snapshots: lvm lvs: cannot run "), std::string::npos);
    EXPECT_NE(log_[0].find("No such file or directory"), std::string::npos);
}

TEST_F(LvmList, AFailingLvsIsLoggedWithLvmsOwnMessage)
{
    failNext("lvs", 5, "  Volume group \"vg\" not found\n  Cannot process volume group vg\n");
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(list[0], nullptr);
    free_existing_lvm_snapshots(list);
    ASSERT_EQ(log_.size(), 1U);
    EXPECT_EQ(log_[0], "existing_lvm_snapshots: lvm lvs failed (exit status 5): Volume group "
                       "\"vg\" not found; Cannot process volume group vg");
}

TEST_F(LvmList, AReportWithoutTheRootVolumeIsAFailure)
{
    std::ofstream(dir_ / "lvs.json") << R"({"report":[{"lv":[]}]})";
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(list[0], nullptr);
    free_existing_lvm_snapshots(list);
    EXPECT_EQ(root_volume_size(), 0U);
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_[0], "existing_lvm_snapshots: lvm lvs did not report vg/root as a volume "
                       "that can have snapshots");
}

TEST_F(LvmList, BootUsedSpaceIsTheUsedSpaceOfItsFileSystem)
{
    EXPECT_GT(boot_partition_used_space(), 0U);
}
