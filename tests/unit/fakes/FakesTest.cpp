// The fakes' own contract, where a fault would mislead every test built on them.
#include "automation/CommandLine.h"
#include "config/ConfigPath.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSnapshotLibrary.h"
#include "fakes/FakeSystemctl.h"
#include "fakes/TestConfigPath.h"
#include "scripts/Clock.h"
#include "snapshots/norvasnapshots.h"

#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
using testing::ElementsAre;
using testing::HasSubstr;

class FakeSnapshotLibraryTest : public testing::Test {
protected:
    FakeClock clock_;
    FakeSnapshotLibrary library_;
};

TEST_F(FakeSnapshotLibraryTest, HeldListKeepsItsSnapshotsWhileOthersAreCreatedAndRemoved)
{
    library_.addSnapshot(100, 1000);
    library_.addSnapshot(200, 1000);
    SnapshotList held = existing_lvm_snapshots();
    ASSERT_EQ(can_create_lvm_snapshot(0), 0);
    ASSERT_TRUE(create_lvm_snapshot(0));
    ASSERT_TRUE(remove_lvm_snapshot(held[0]));

    ASSERT_NE(held[1], nullptr);
    EXPECT_EQ(held[2], nullptr);
    EXPECT_EQ(lvm_snapshot_creation_time(held[1]), 200U);
    EXPECT_EQ(library_.ids(), (std::vector<uint64_t>{2, 3}));
    free_existing_lvm_snapshots(held);
}

TEST_F(FakeSnapshotLibraryTest, RemovedSnapshotAnswersZeroUntilItsListIsReleased)
{
    library_.addSnapshot(100, 600, 40);
    SnapshotList list = existing_lvm_snapshots();
    ASSERT_TRUE(remove_lvm_snapshot(list[0]));

    EXPECT_EQ(lvm_snapshot_creation_time(list[0]), 0U);
    EXPECT_EQ(lvm_snapshot_size(list[0]), 0U);
    EXPECT_EQ(lvm_snapshot_filling_percent(list[0]), 0U);
    EXPECT_FALSE(remove_lvm_snapshot(list[0]));
    EXPECT_EQ(library_.vgFree(), 5600U);
    free_existing_lvm_snapshots(list);
    EXPECT_TRUE(library_.violations().empty());
}

TEST_F(FakeSnapshotLibraryTest, CreationTakesFreeSpaceAndTheClocksTime)
{
    FakeClock::set(4242);
    library_.setVgFree(1500);
    EXPECT_EQ(can_create_lvm_snapshot(0), 0);
    EXPECT_TRUE(create_lvm_snapshot(0));
    EXPECT_EQ(can_create_lvm_snapshot(600), FakeSnapshotLibrary::kNoRoom);
    EXPECT_EQ(can_create_lvm_snapshot(500), 0);
    EXPECT_TRUE(create_lvm_snapshot(500));

    EXPECT_EQ(library_.snapshots(),
              (std::vector<FakeSnapshot>{{1, 4242, 1000, 0}, {2, 4242, 500, 0}}));
    EXPECT_EQ(library_.vgFree(), 0U);
}

TEST_F(FakeSnapshotLibraryTest, ResizeToZeroMeansRootSizeAndMovesFreeSpace)
{
    library_.addSnapshot(100, 400);
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_TRUE(resize_lvm_snapshot(list[0], 0));
    EXPECT_EQ(lvm_snapshot_size(list[0]), 1000U);
    EXPECT_EQ(library_.vgFree(), 4400U);
    free_existing_lvm_snapshots(list);
    EXPECT_EQ(library_.mutations(), (Calls{"resize_lvm_snapshot(#1,0)"}));
}

TEST_F(FakeSnapshotLibraryTest, NthCallFailsAloneAndChangesNothing)
{
    library_.addSnapshot(100, 1000);
    library_.failNthCall(3);
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(lvm_snapshot_size(list[0]), 1000U);
    EXPECT_FALSE(remove_lvm_snapshot(list[0]));
    EXPECT_TRUE(remove_lvm_snapshot(list[0]));
    free_existing_lvm_snapshots(list);

    EXPECT_EQ(library_.calls(),
              (Calls{"existing_lvm_snapshots", "lvm_snapshot_size(#1)", "remove_lvm_snapshot(#1)",
                     "remove_lvm_snapshot(#1)", "free_existing_lvm_snapshots"}));
}

TEST_F(FakeSnapshotLibraryTest, InjectedFailuresAnswerAsFailedCalls)
{
    library_.addSnapshot(100, 1000);
    library_.addSnapshot(200, 1000);
    library_.failFor("lvm_snapshot_creation_time", 2);
    library_.failAlways("can_create_lvm_snapshot");
    SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(lvm_snapshot_creation_time(list[0]), 100U);
    EXPECT_EQ(lvm_snapshot_creation_time(list[1]), 0U);
    EXPECT_EQ(can_create_lvm_snapshot(0), FakeSnapshotLibrary::kInjectedRefusal);
    free_existing_lvm_snapshots(list);

    library_.failAlways("existing_lvm_snapshots");
    SnapshotList failed = existing_lvm_snapshots();
    EXPECT_EQ(failed[0], nullptr);
    EXPECT_EQ(library_.openLists(), 1U);
    free_existing_lvm_snapshots(failed);
}

TEST_F(FakeSnapshotLibraryTest, CreationNeedsApprovalOfTheSameSizeSinceTheLastChange)
{
    library_.addSnapshot(100, 1000);
    ASSERT_EQ(can_create_lvm_snapshot(0), 0);
    SnapshotList list = existing_lvm_snapshots();
    ASSERT_TRUE(remove_lvm_snapshot(list[0]));
    free_existing_lvm_snapshots(list);
    EXPECT_TRUE(create_lvm_snapshot(0));
    ASSERT_EQ(can_create_lvm_snapshot(300), 0);
    EXPECT_TRUE(create_lvm_snapshot(200));

    EXPECT_THAT(library_.violations(), ElementsAre(HasSubstr("create_lvm_snapshot(0) without"),
                                                   HasSubstr("create_lvm_snapshot(200) without")));
    library_.clearViolations();
}

TEST_F(FakeSnapshotLibraryTest, MisusedListsAndHandlesAreViolations)
{
    library_.addSnapshot(100, 1000);
    SnapshotList list = existing_lvm_snapshots();
    SnapshotHandle kept = list[0];
    free_existing_lvm_snapshots(list);
    EXPECT_EQ(lvm_snapshot_size(kept), 0U);
    EXPECT_FALSE(remove_lvm_snapshot(list[0])); // walking the list after releasing it
    free_existing_lvm_snapshots(list);
    SnapshotHandle noList[1] = {nullptr};
    free_existing_lvm_snapshots(noList);
    EXPECT_FALSE(remove_lvm_snapshot(kept + 1));

    EXPECT_THAT(library_.violations(),
                ElementsAre(HasSubstr("lvm_snapshot_size(#1): handle used after its list was"),
                            HasSubstr("remove_lvm_snapshot(#?): handle used after its list was"),
                            HasSubstr("released twice"), HasSubstr("never came from existing"),
                            HasSubstr("remove_lvm_snapshot(#?): handle that never came from")));
    EXPECT_EQ(library_.ids(), (std::vector<uint64_t>{1}));
    library_.clearViolations();
}

TEST(FakeSnapshotLibraryMisuse, ListNeverReleasedFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            FakeSnapshotLibrary library;
            static_cast<void>(existing_lvm_snapshots());
        },
        "1 list(s) never released");
}

TEST(FakeSnapshotLibraryMisuse, CallWithoutFakeFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(static_cast<void>(root_volume_size()), "no FakeSnapshotLibrary");
}

TEST(FakeSystemctlTest, VerbsMoveTheTimerFlagsAndFailedVerbsChangeNothing)
{
    FakeSystemctl systemctl;
    systemctl.failVerb("stop");
    EXPECT_TRUE(runCommandLine("systemctl enable norva-snapshots.timer >/dev/null 2>&1"));
    EXPECT_TRUE(runCommandLine("systemctl start norva-snapshots.timer >/dev/null 2>&1"));
    EXPECT_FALSE(runCommandLine("systemctl stop norva-snapshots.timer >/dev/null 2>&1"));
    EXPECT_TRUE(runCommandLine("systemctl is-active -q norva-snapshots.timer >/dev/null 2>&1"));
    EXPECT_TRUE(runCommandLine("systemctl disable norva-snapshots.timer >/dev/null 2>&1"));
    EXPECT_FALSE(runCommandLine("systemctl is-enabled -q norva-snapshots.timer >/dev/null 2>&1"));

    EXPECT_EQ(systemctl.verbs(),
              (Calls{"enable", "start", "stop", "is-active", "disable", "is-enabled"}));
    EXPECT_TRUE(systemctl.active());
    EXPECT_FALSE(systemctl.enabled());
}

TEST(FakeSystemctlTest, UnknownCommandLineFailsTheTest)
{
    FakeSystemctl systemctl;
    EXPECT_NONFATAL_FAILURE(
        static_cast<void>(runCommandLine("systemctl stop norva-snapshots.timer")), "unknown");
    EXPECT_EQ(systemctl.lines(), (Calls{"systemctl stop norva-snapshots.timer"}));
}

TEST(TestConfigPathTest, HelpersWorkOnTheFileTheToolIsGiven)
{
    EXPECT_NE(std::string(configFilePath()).find("/norva-unit-tests."), std::string::npos);
    writeConfigFile("{\"script\":1}");
    EXPECT_TRUE(configFileExists());
    EXPECT_EQ(readConfigFile(), "{\"script\":1}");
    removeConfigFile();
    EXPECT_FALSE(configFileExists());
    EXPECT_EQ(readConfigFile(), "");
}

TEST(FakeClockTest, CurrentTimeFollowsTheTest)
{
    FakeClock clock(1000);
    FakeClock::advanceDays(2);
    EXPECT_EQ(currentTime(), 1000U + 2U * 86400U);
}

} // namespace
