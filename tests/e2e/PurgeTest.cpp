// -p deletes every snapshot through the library, keeps going after a failed removal, and
// leaves the timer and the configuration alone.
#include "Sandbox.h"
#include "ToolTexts.h"

namespace {

using Purge = Sandbox;

constexpr const char* kDayOne = "2026-11-01T08:00:00";
constexpr const char* kDayTwo = "2026-11-02T08:00:00";
constexpr const char* kDayThree = "2026-11-03T08:00:00";

TEST_F(Purge, SucceedsWithNoSnapshotsAndChangesNothing)
{
    const std::string before = simState();

    expectRun(run({"-p"}), kPurged, "", 0);

    EXPECT_EQ(simState(), before);
    EXPECT_TRUE(systemctl().calls().empty());
}

TEST_F(Purge, DeletesEverySnapshotAndGivesSpaceBack)
{
    sim({"add", "--time", kDayOne, "--size", "1G"});
    sim({"add", "--time", kDayTwo, "--size", "2G", "--fill", "50"});
    const std::string saved = R"({"script":1,"lifetime":0,"quantity":0,"size":0})"
                              "\n";
    writeConfig(saved);
    systemctl().setTimer(true, true);

    expectRun(run({"-p"}), kPurged, "", 0);

    const SimView view = simView();
    EXPECT_TRUE(view.snapshots.empty());
    EXPECT_EQ(view.vgFree, kVgFree);
    EXPECT_EQ(config(), saved);
    EXPECT_TRUE(systemctl().calls().empty());
    EXPECT_TRUE(systemctl().timerActive());
}

TEST_F(Purge, ReportsFailedRemovalAfterTryingTheRest)
{
    sim({"add", "--time", kDayOne, "--size", "1G"});
    const std::string stuck = sim({"add", "--time", kDayTwo, "--size", "1G"});
    sim({"add", "--time", kDayThree, "--size", "1G"});
    const std::string stuckId = stuck.substr(0, stuck.find('\n'));
    sim({"fail", "remove_lvm_snapshot", stuckId});

    expectRun(run({"-p"}), "", kPurgeError, 1);

    const SimView view = simView();
    ASSERT_EQ(view.snapshots.size(), 1U);
    EXPECT_EQ(std::to_string(view.snapshots[0].id), stuckId);
}

} // namespace
