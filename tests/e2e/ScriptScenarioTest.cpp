// The scripts over simulated days: launch, then the timer's checks and the trigger, with the
// tool and the simulated library sharing one faked clock. Only the big steps are followed
// here, with margins of minutes around each period; the exact boundaries are the unit
// tests' business.
#include "Sandbox.h"
#include "ToolTexts.h"

#include <ctime>

namespace {

constexpr const char* kLaunchDay = "2026-12-01 03:00:00";

RunOptions at(const std::string& when)
{
    RunOptions options;
    options.fakeTime = when;
    return options;
}

uint64_t utcSeconds(const std::string& when)
{
    std::tm fields{};
    EXPECT_NE(::strptime(when.c_str(), "%Y-%m-%d %H:%M:%S", &fields), nullptr) << when;
    return static_cast<uint64_t>(::timegm(&fields));
}

// The faked clock runs on from its start, so a run may end a second or two after it.
void expectCreatedAt(const SimSnapshotRow& snapshot, const std::string& when)
{
    EXPECT_GE(snapshot.creationTime, utcSeconds(when));
    EXPECT_LE(snapshot.creationTime, utcSeconds(when) + 5);
}

std::vector<uint64_t> ids(const SimView& view)
{
    std::vector<uint64_t> result;
    for (const auto& snapshot : view.snapshots) {
        result.push_back(snapshot.id);
    }
    return result;
}

using ScriptScenario = Sandbox;

TEST_F(ScriptScenario, RotatedSnapshotIsReplacedOnceItsLifetimeIsOver)
{
    expectRun(run({"-s2"}, "1\n", at(kLaunchDay)), kAskLifetime + kLaunched, "", 0);
    const SimView launched = simView();
    ASSERT_EQ(launched.snapshots.size(), 1U);
    expectCreatedAt(launched.snapshots[0], kLaunchDay);

    expectRun(run({"-c"}, std::nullopt, at("2026-12-02 02:55:00")), "", "", 0);
    EXPECT_EQ(ids(simView()), ids(launched)) << "a day minus five minutes: nothing due";

    expectRun(run({"-c"}, std::nullopt, at("2026-12-02 03:05:00")), "", "", 0);
    const SimView rotated = simView();
    ASSERT_EQ(rotated.snapshots.size(), 1U);
    EXPECT_NE(rotated.snapshots[0].id, launched.snapshots[0].id);
    EXPECT_EQ(rotated.snapshots[0].size, kRootSize);
    expectCreatedAt(rotated.snapshots[0], "2026-12-02 03:05:00");
}

TEST_F(ScriptScenario, QueueGrowsToItsQuantityThenTurnsOver)
{
    expectRun(run({"-s5"}, "1 2\n", at(kLaunchDay)), kAskPeriod + kAskQueue + kLaunched, "", 0);
    const uint64_t first = simView().snapshots.at(0).id;

    expectRun(run({"-c"}, std::nullopt, at("2026-12-02 03:05:00")), "", "", 0);
    const std::vector<uint64_t> grown = ids(simView());
    ASSERT_EQ(grown.size(), 2U);
    EXPECT_EQ(grown[0], first);

    expectRun(run({"-c"}, std::nullopt, at("2026-12-03 03:10:00")), "", "", 0);
    const SimView turned = simView();
    ASSERT_EQ(turned.snapshots.size(), 2U);
    EXPECT_EQ(turned.snapshots[0].id, grown[1]) << "the oldest goes first";
    expectCreatedAt(turned.snapshots[1], "2026-12-03 03:10:00");
    EXPECT_EQ(turned.snapshots[1].size, 21260088115ULL) << "the size fixed at launch";
}

TEST_F(ScriptScenario, DoubleScriptAddsSecondSnapshotAfterOnePeriod)
{
    sim({"space", "--vg-free", "15G"});
    expectRun(run({"-s6"}, "1\n", at(kLaunchDay)), kAskPeriod + kLaunched, "", 0);

    expectRun(run({"-c"}, std::nullopt, at("2026-12-01 15:00:00")), "", "", 0);
    EXPECT_EQ(simView().snapshots.size(), 1U);

    expectRun(run({"-c"}, std::nullopt, at("2026-12-02 03:05:00")), "", "", 0);
    const SimView pair = simView();
    ASSERT_EQ(pair.snapshots.size(), 2U);
    EXPECT_EQ(pair.snapshots[0].size, kRootSize);
    EXPECT_EQ(pair.snapshots[1].size, 5 * kGiB) << "what the volume group had left";
}

TEST_F(ScriptScenario, HookTriggerStopsAutomationAndAddsSnapshot)
{
    sim({"space", "--vg-free", "15G"});
    expectRun(run({"-s3"}), kLaunched, "", 0);
    systemctl().forgetCalls();

    expectRun(run({"-t"}), "", "", 0);

    const std::vector<std::string> stopCalls = {kIsActive, kStop, kIsEnabled, kDisable};
    EXPECT_EQ(systemctl().calls(), stopCalls);
    EXPECT_FALSE(systemctl().timerActive());
    EXPECT_FALSE(systemctl().timerEnabled());
    const SimView view = simView();
    ASSERT_EQ(view.snapshots.size(), 2U);
    EXPECT_EQ(view.snapshots[0].size, kRootSize);
    EXPECT_EQ(view.snapshots[1].size, 5 * kGiB);
}

TEST_F(ScriptScenario, SingleSnapshotIsKeptRepairedAndLeftAloneOnceRight)
{
    expectRun(run({"-s1"}, std::nullopt, at(kLaunchDay)), kLaunched, "", 0);
    const uint64_t launched = simView().snapshots.at(0).id;
    expectRun(run({"-i"}), kRunning + "Current script: 1\n", "", 0);

    expectRun(run({"-c"}, std::nullopt, at("2026-12-09 03:00:00")), "", "", 0);
    EXPECT_EQ(ids(simView()), std::vector<uint64_t>{launched}) << "script 1 never rotates";

    sim({"set", std::to_string(launched), "--fill", "100"});
    expectRun(run({"-c"}, std::nullopt, at("2026-12-09 04:00:00")), "", "", 0);
    const SimView replaced = simView();
    ASSERT_EQ(replaced.snapshots.size(), 1U);
    EXPECT_NE(replaced.snapshots[0].id, launched) << "an overflowed snapshot is replaced";
    EXPECT_EQ(replaced.snapshots[0].size, kRootSize);

    const std::string settled = simState();
    expectRun(run({"-c"}, std::nullopt, at("2026-12-09 05:00:00")), "", "", 0);
    EXPECT_EQ(simState(), settled) << "a second check changes nothing";
}

TEST_F(ScriptScenario, RotatedHookTriggerRotatesFirstThenAddsAndStops)
{
    // The rotation can first make the new snapshot only 7 GiB, then grows it to full size.
    sim({"space", "--vg-free", "17G"});
    expectRun(run({"-s4"}, "2\n", at(kLaunchDay)), kAskLifetime + kLaunched, "", 0);
    expectRun(run({"-i"}), kRunning + "Current script: 4\nSnapshot lifetime: 2 days\n", "", 0);
    const uint64_t launched = simView().snapshots.at(0).id;

    expectRun(run({"-t"}, std::nullopt, at("2026-12-03 03:05:00")), "", "", 0);
    const SimView view = simView();
    ASSERT_EQ(view.snapshots.size(), 2U);
    EXPECT_NE(view.snapshots[0].id, launched) << "the due rotation came first";
    EXPECT_EQ(view.snapshots[0].size, kRootSize);
    EXPECT_EQ(view.snapshots[1].size, 7 * kGiB) << "the additional one takes what is left";
    expectRun(run({"-i"}), kNotRunning + "Current script: 4\nSnapshot lifetime: 2 days\n", "", 1);
}

TEST_F(ScriptScenario, DoubleScriptRotatesThePairOnceItIsAPeriodApart)
{
    sim({"space", "--vg-free", "25G"});
    expectRun(run({"-s6"}, "1\n", at(kLaunchDay)), kAskPeriod + kLaunched, "", 0);
    expectRun(run({"-c"}, std::nullopt, at("2026-12-02 03:05:00")), "", "", 0);
    const std::vector<uint64_t> pair = ids(simView());
    ASSERT_EQ(pair.size(), 2U);

    expectRun(run({"-c"}, std::nullopt, at("2026-12-02 04:00:00")), "", "", 0);
    const SimView rotated = simView();
    ASSERT_EQ(rotated.snapshots.size(), 2U);
    EXPECT_EQ(rotated.snapshots[0].id, pair[1]) << "the additional one takes the full one's place";
    EXPECT_EQ(rotated.snapshots[0].size, kRootSize);
    expectCreatedAt(rotated.snapshots[1], "2026-12-02 04:00:00");
    expectRun(run({"-i"}), kRunning + "Current script: 6\nSnapshots rotation period: 1 days\n", "",
              0);
}

class TriggerWithoutHook : public Sandbox, public testing::WithParamInterface<std::string> {};

TEST_P(TriggerWithoutHook, SucceedsAndChangesNothing)
{
    writeConfig(GetParam());
    sim({"add", "--time", "2026-11-01T08:00:00", "--size", "1G", "--fill", "100"});
    systemctl().setTimer(true, true);
    const std::string simBefore = simState();

    expectRun(run({"-t"}), "", "", 0);

    EXPECT_EQ(simState(), simBefore);
    EXPECT_TRUE(systemctl().calls().empty());
}

INSTANTIATE_TEST_SUITE_P(Scripts, TriggerWithoutHook,
                         testing::Values(R"({"script":1,"lifetime":0,"quantity":0,"size":0})",
                                         R"({"script":2,"lifetime":1,"quantity":0,"size":0})",
                                         R"({"script":5,"lifetime":1,"quantity":2,"size":0})",
                                         R"({"script":6,"lifetime":1,"quantity":0,"size":0})"),
                         [](const auto& row) { return "Script" + row.param.substr(10, 1); });

} // namespace
