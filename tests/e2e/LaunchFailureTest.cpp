// A launch that fails part-way: the message and usage, and what it leaves behind. Nothing is
// rolled back, so what exists afterwards shows exactly how far the launch got.
#include "Sandbox.h"
#include "ToolTexts.h"

namespace {

struct FailureCase {
    std::string name;
    std::string option;
    std::string answers;
    std::string question;
    std::string failingFunction;  // of the simulated library, or empty
    std::string failingSystemctl; // verb, or empty
    std::optional<std::string> savedFile;
    std::vector<std::string> calls;
    bool timerOnAfter = false;
    size_t snapshotsAfter = 0;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.option << " failing " << c.failingFunction << c.failingSystemctl;
}

const std::vector<std::string> kStopOnly = {kIsActive, kIsEnabled};
const std::vector<std::string> kFullLaunch = {kIsActive,  kIsEnabled, kIsActive,
                                              kIsEnabled, kEnable,    kStart};
const std::vector<std::string> kUpToEnable = {kIsActive, kIsEnabled, kIsActive, kIsEnabled,
                                              kEnable};
const std::string kSingleSaved = "{\"script\":1,\"lifetime\":0,\"quantity\":0,\"size\":0}\n";
const std::string kQueueSaved =
    "{\"script\":5,\"lifetime\":3,\"quantity\":4,\"size\":10630044057}\n";

// Every case starts from one old snapshot, which the launch purges first.
const FailureCase kFailureCases[] = {
    {"PurgeFailureKeepsOldFileAndTimerOff",
     "-s1",
     "",
     "",
     "remove_lvm_snapshot",
     "",
     {},
     kStopOnly,
     false,
     1},
    {"RefusedFullSizeSavesNothing",
     "-s1",
     "",
     "",
     "can_create_lvm_snapshot",
     "",
     {},
     kStopOnly,
     false,
     0},
    {"FailedEnableCreatesNoSnapshot", "-s1", "", "", "", "enable", kSingleSaved, kUpToEnable, false,
     0},
    {"FailedFinalCreationLeavesAutomationRunning", "-s1", "", "", "create_lvm_snapshot", "",
     kSingleSaved, kFullLaunch, true, 0},
    {"RefusedQueueSizeSavesNothing",
     "-s5",
     "3 4\n",
     kAskPeriod + kAskQueue,
     "can_create_lvm_snapshot",
     "",
     {},
     kStopOnly,
     false,
     0},
    {"FailedFirstQueueSnapshotLeavesAutomationRunning", "-s5", "3 4\n", kAskPeriod + kAskQueue,
     "create_lvm_snapshot", "", kQueueSaved, kFullLaunch, true, 0},
};

class FailedLaunch : public Sandbox, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailedLaunch, ReportsErrorAndStopsWhereItFailed)
{
    const FailureCase& c = GetParam();
    sim({"add", "--time", "2026-11-01T08:00:00", "--size", "1G"});
    if (!c.failingFunction.empty()) {
        sim({"fail", c.failingFunction});
    }
    if (!c.failingSystemctl.empty()) {
        systemctl().failVerb(c.failingSystemctl);
    }

    expectRun(run({c.option}, c.answers), c.question + kUsage, kLaunchError, 1);

    EXPECT_EQ(config(), c.savedFile);
    EXPECT_EQ(systemctl().calls(), c.calls);
    EXPECT_EQ(systemctl().timerActive(), c.timerOnAfter);
    EXPECT_EQ(systemctl().timerEnabled(), c.timerOnAfter);
    EXPECT_EQ(simView().snapshots.size(), c.snapshotsAfter);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedLaunch, testing::ValuesIn(kFailureCases), CaseName());

} // namespace
