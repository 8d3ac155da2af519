// A launch from the prompts to the saved file: the file's exact bytes, the timer switched on
// through systemctl, the first snapshot, and how the file is written (in place, through a
// symbolic link, keeping an existing file's mode, or not at all when it cannot be opened).
#include "Sandbox.h"
#include "ToolTexts.h"

namespace {

const std::vector<std::string> kLaunchCalls = {kIsActive,  kIsEnabled, kIsActive,
                                               kIsEnabled, kEnable,    kStart};

struct LaunchCase {
    std::string name;
    std::string option;
    std::string answers;
    std::string out;
    std::string savedFile;
    uint64_t snapshotSize = 0;
};

void PrintTo(const LaunchCase& c, std::ostream* os)
{
    *os << c.option << " <<< " << testing::PrintToString(c.answers);
}

std::string saved(int script, int lifetime, int quantity, uint64_t size)
{
    return R"({"script":)" + std::to_string(script) + R"(,"lifetime":)" + std::to_string(lifetime) +
           R"(,"quantity":)" + std::to_string(quantity) + R"(,"size":)" + std::to_string(size) +
           "}\n";
}

// Queue sizes for 40 GiB of free space: a share of free/quantity, 99 percent of it, truncated.
const LaunchCase kLaunchCases[] = {
    {"ScriptOneAsksNothing", "-s1", "", kLaunched, saved(1, 0, 0, 0), kRootSize},
    {"ScriptTwoSavesLifetime", "-s2", "7\n", kAskLifetime + kLaunched, saved(2, 7, 0, 0),
     kRootSize},
    {"LifetimeWithLettersAfterDigits", "-s2", "5abc\n", kAskLifetime + kLaunched, saved(2, 5, 0, 0),
     kRootSize},
    {"LifetimeWithPlusSign", "-s2", "+3\n", kAskLifetime + kLaunched, saved(2, 3, 0, 0), kRootSize},
    {"LifetimeAfterWrongAnswers", "-s2", "abc\n\n 4\n",
     kAskLifetime + kWrongLifetime + kAskLifetime + kLaunched, saved(2, 4, 0, 0), kRootSize},
    {"ScriptThreeAsksNothing", "-s3", "", kLaunched, saved(3, 0, 0, 0), kRootSize},
    {"ScriptFourSavesLifetime", "-s4", "1\n", kAskLifetime + kLaunched, saved(4, 1, 0, 0),
     kRootSize},
    {"QueueOfFourTakesQuarterOfFreeSpace", "-s5", "3\n4\n", kAskPeriod + kAskQueue + kLaunched,
     saved(5, 3, 4, 10630044057ULL), 10630044057ULL},
    {"QueueAnswersOnOneLine", "-s5", "7 6\n", kAskPeriod + kAskQueue + kLaunched,
     saved(5, 7, 6, 7086696037ULL), 7086696037ULL},
    {"QueueOfTwo", "-s5", "1\n2\n", kAskPeriod + kAskQueue + kLaunched,
     saved(5, 1, 2, 21260088115ULL), 21260088115ULL},
    {"ScriptSixSavesPeriod", "-s6", "2\n", kAskPeriod + kLaunched, saved(6, 2, 0, 0), kRootSize},
};

class Launch : public Sandbox, public testing::WithParamInterface<LaunchCase> {};

TEST_P(Launch, SavesExactFileStartsTimerAndCreatesSnapshot)
{
    const LaunchCase& c = GetParam();

    expectRun(run({c.option}, c.answers), c.out, "", 0);

    EXPECT_EQ(config(), c.savedFile);
    EXPECT_EQ(systemctl().calls(), kLaunchCalls);
    EXPECT_TRUE(systemctl().timerActive());
    EXPECT_TRUE(systemctl().timerEnabled());
    const SimView view = simView();
    ASSERT_EQ(view.snapshots.size(), 1U);
    EXPECT_EQ(view.snapshots[0].size, c.snapshotSize);
}

INSTANTIATE_TEST_SUITE_P(Scripts, Launch, testing::ValuesIn(kLaunchCases), CaseName());

using LaunchOverOldState = Sandbox;

TEST_F(LaunchOverOldState, LongOptionStopsRunningTimerAndReplacesSnapshots)
{
    sim({"add", "--time", "2026-11-01T08:00:00", "--size", "1G"});
    sim({"add", "--time", "2026-11-02T08:00:00", "--size", "1G"});
    systemctl().setTimer(true, true);

    expectRun(run({"--script=1"}), kLaunched, "", 0);

    const std::vector<std::string> calls = {kIsActive, kStop,      kIsEnabled, kDisable,
                                            kIsActive, kIsEnabled, kEnable,    kStart};
    EXPECT_EQ(systemctl().calls(), calls);
    EXPECT_EQ(config(), saved(1, 0, 0, 0));
    const SimView view = simView();
    ASSERT_EQ(view.snapshots.size(), 1U);
    EXPECT_EQ(view.snapshots[0].size, kRootSize);
    EXPECT_GT(view.snapshots[0].id, 2U) << "the old snapshots must be gone";
}

TEST_F(LaunchOverOldState, QueueSizeComesFromFreeSpaceAfterPurge)
{
    sim({"add", "--time", "2026-11-01T08:00:00", "--size", "4G"});

    expectRun(run({"-s5"}, "3\n4\n"), kAskPeriod + kAskQueue + kLaunched, "", 0);

    EXPECT_EQ(config(), saved(5, 3, 4, 10630044057ULL));
}

TEST_F(LaunchOverOldState, LongerOldFileIsCutToNewContent)
{
    writeConfig(R"({"script":5,"lifetime":3,"quantity":4,"size":10630044057,"note":")" +
                std::string(200, 'x') + "\"}\n");

    expectRun(run({"-s2"}, "7\n"), kAskLifetime + kLaunched, "", 0);

    EXPECT_EQ(config(), saved(2, 7, 0, 0));
    EXPECT_EQ(config()->size(), 48U);
}

} // namespace
