// -b, -r and -i against every state of the timer: the exact systemctl calls, in order, the
// message and status, and the state the timer is left in.
#include "Sandbox.h"
#include "ToolTexts.h"

namespace {

struct TimerState {
    bool active = false;
    bool enabled = false;
};

constexpr TimerState kIdle{false, false};
constexpr TimerState kOn{true, true};
constexpr TimerState kActiveOnly{true, false};
constexpr TimerState kEnabledOnly{false, true};

struct TimerCase {
    std::string name;
    std::string option;
    TimerState before;
    std::optional<std::string> failingVerb;
    std::string out;
    std::string err;
    int status = 0;
    std::vector<std::string> calls;
    TimerState after;
};

void PrintTo(const TimerCase& c, std::ostream* os)
{
    *os << c.option << " active=" << c.before.active << " enabled=" << c.before.enabled;
}

const std::string kStoppedInfo = kNotRunning + kUnknownScript;
const std::string kRunningInfo = kRunning + kUnknownScript;

// clang-format off
const TimerCase kTimerCases[] = {
    // name, option, timer before, failing verb, stdout, stderr, status, calls, timer after
    {"BreakLeavesIdleTimerAlone", "-b", kIdle, {}, kStopped, "", 0,
     {kIsActive, kIsEnabled}, kIdle},
    {"BreakStopsAndDisablesRunningTimer", "-b", kOn, {}, kStopped, "", 0,
     {kIsActive, kStop, kIsEnabled, kDisable}, kIdle},
    {"BreakOnlyStopsActiveDisabledTimer", "-b", kActiveOnly, {}, kStopped, "", 0,
     {kIsActive, kStop, kIsEnabled}, kIdle},
    {"BreakOnlyDisablesEnabledInactiveTimer", "-b", kEnabledOnly, {}, kStopped, "", 0,
     {kIsActive, kIsEnabled, kDisable}, kIdle},
    {"BreakReportsFailedStopAfterDisabling", "-b", kOn, "stop", "", kStopError, 1,
     {kIsActive, kStop, kIsEnabled, kDisable}, kActiveOnly},
    {"BreakReportsFailedDisable", "-b", kOn, "disable", "", kStopError, 1,
     {kIsActive, kStop, kIsEnabled, kDisable}, kEnabledOnly},
    {"BreakTakesFailedIsActiveAsInactive", "-b", kOn, "is-active", kStopped, "", 0,
     {kIsActive, kIsEnabled, kDisable}, kActiveOnly},
    {"RestartEnablesAndStartsIdleTimer", "-r", kIdle, {}, kStarted, "", 0,
     {kIsActive, kIsEnabled, kEnable, kStart}, kOn},
    {"RestartStopsRunningTimerFirst", "-r", kOn, {}, kStarted, "", 0,
     {kIsActive, kStop, kIsEnabled, kDisable, kEnable, kStart}, kOn},
    {"RestartIgnoresFailedStop", "-r", kOn, "stop", kStarted, "", 0,
     {kIsActive, kStop, kIsEnabled, kDisable, kEnable, kStart}, kOn},
    {"RestartDoesNotStartAfterFailedEnable", "-r", kIdle, "enable", "", kStartError, 1,
     {kIsActive, kIsEnabled, kEnable}, kIdle},
    {"RestartReportsFailedStart", "-r", kIdle, "start", "", kStartError, 1,
     {kIsActive, kIsEnabled, kEnable, kStart}, kEnabledOnly},
    {"InfoReportsRunningTimer", "-i", kOn, {}, kRunningInfo, "", 0,
     {kIsActive, kIsEnabled}, kOn},
    {"InfoReportsActiveDisabledTimerAsStopped", "-i", kActiveOnly, {}, kStoppedInfo, "", 1,
     {kIsActive, kIsEnabled}, kActiveOnly},
    {"InfoReportsEnabledInactiveTimerAsStopped", "-i", kEnabledOnly, {}, kStoppedInfo, "", 1,
     {kIsActive, kIsEnabled}, kEnabledOnly},
    {"InfoAsksBothQuestionsEvenWhenInactive", "-i", kOn, "is-active", kStoppedInfo, "", 1,
     {kIsActive, kIsEnabled}, kOn},
};
// clang-format on

class TimerControl : public Sandbox, public testing::WithParamInterface<TimerCase> {};

TEST_P(TimerControl, RunsExactSystemctlSequence)
{
    const TimerCase& c = GetParam();
    systemctl().setTimer(c.before.active, c.before.enabled);
    if (c.failingVerb) {
        systemctl().failVerb(*c.failingVerb);
    }
    const std::string simBefore = simState();

    expectRun(run({c.option}), c.out, c.err, c.status);

    EXPECT_EQ(systemctl().calls(), c.calls);
    EXPECT_EQ(systemctl().timerActive(), c.after.active);
    EXPECT_EQ(systemctl().timerEnabled(), c.after.enabled);
    EXPECT_EQ(config(), std::nullopt) << "timer control never writes the configuration";
    EXPECT_EQ(simState(), simBefore) << "timer control never touches snapshots";
}

INSTANTIATE_TEST_SUITE_P(EveryTimerState, TimerControl, testing::ValuesIn(kTimerCases), CaseName());

using TimerControlWithConfiguration = Sandbox;

TEST_F(TimerControlWithConfiguration, BreakAndRestartKeepConfigurationBytes)
{
    const std::string saved = R"({"script":2,"lifetime":7,"quantity":0,"size":0})"
                              "\n";
    writeConfig(saved);
    systemctl().setTimer(true, true);

    expectRun(run({"-b"}), kStopped, "", 0);
    expectRun(run({"-r"}), kStarted, "", 0);

    EXPECT_EQ(config(), saved);
}

} // namespace
