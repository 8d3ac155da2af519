#include "automation/Automation.h"

#include "StdStreams.h"
#include "config/ConfigPath.h"
#include "fakes/FakeSnapshotLibrary.h"
#include "fakes/FakeSystemctl.h"
#include "fakes/TestConfigPath.h"
#include "scripts/ManagerFactory.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using Verbs = std::vector<std::string>;

class Automation : public testing::Test {
protected:
    void SetUp() override { removeConfigFile(); }
    void TearDown() override { removeConfigFile(); }

    FakeSnapshotLibrary library_;
    FakeSystemctl systemctl_;
};

struct StopCase {
    bool active;
    bool enabled;
    const char* failing;
    Verbs verbs;
    bool result;
};

class StopAutomation : public Automation, public testing::WithParamInterface<StopCase> {};

TEST_P(StopAutomation, StopsWhatRunsAndDisablesWhatIsEnabled)
{
    const StopCase& c = GetParam();
    systemctl_.setActive(c.active);
    systemctl_.setEnabled(c.enabled);
    if (*c.failing != '\0') {
        systemctl_.failVerb(c.failing);
    }
    EXPECT_EQ(stopAutomation(), c.result);
    EXPECT_EQ(systemctl_.verbs(), c.verbs);
}

INSTANTIATE_TEST_SUITE_P(
    Timer, StopAutomation,
    testing::Values(
        StopCase{false, false, "", {"is-active", "is-enabled"}, true},
        StopCase{true, false, "", {"is-active", "stop", "is-enabled"}, true},
        StopCase{true, false, "stop", {"is-active", "stop", "is-enabled"}, false},
        StopCase{false, true, "", {"is-active", "is-enabled", "disable"}, true},
        StopCase{true, true, "", {"is-active", "stop", "is-enabled", "disable"}, true},
        StopCase{true, true, "stop", {"is-active", "stop", "is-enabled", "disable"}, false},
        StopCase{false, true, "disable", {"is-active", "is-enabled", "disable"}, false}));

TEST_F(Automation, CommandLinesAreRunExactlyAsWritten)
{
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);
    ASSERT_TRUE(restartAutomation());
    EXPECT_EQ(systemctl_.lines(),
              (Verbs{"systemctl is-active -q norva-snapshots.timer >/dev/null 2>&1",
                     "systemctl stop norva-snapshots.timer >/dev/null 2>&1",
                     "systemctl is-enabled -q norva-snapshots.timer >/dev/null 2>&1",
                     "systemctl disable norva-snapshots.timer >/dev/null 2>&1",
                     "systemctl enable norva-snapshots.timer >/dev/null 2>&1",
                     "systemctl start norva-snapshots.timer >/dev/null 2>&1"}));
}

TEST_F(Automation, RestartIgnoresAFailedStopAndNeedsEnableAndStart)
{
    systemctl_.setActive(true);
    systemctl_.failVerb("stop");
    EXPECT_TRUE(restartAutomation());
    systemctl_.failVerb("enable");
    EXPECT_FALSE(restartAutomation());
    EXPECT_EQ(systemctl_.verbs().back(), "enable");
}

TEST_F(Automation, StartSavesFirstAndTouchesNoTimerWhenTheSaveFails)
{
    const auto manager = createManager({2, 7, 0, 0});
    ASSERT_TRUE(startAutomation(*manager));
    EXPECT_EQ(readConfigFile(), "{\"script\":2,\"lifetime\":7,\"quantity\":0,\"size\":0}\n");
    EXPECT_TRUE(systemctl_.active() && systemctl_.enabled());

    const auto before = systemctl_.lines().size();
    removeConfigFile();
    std::filesystem::create_directory(configFilePath());
    EXPECT_FALSE(startAutomation(*manager));
    EXPECT_EQ(systemctl_.lines().size(), before);
}

TEST_F(Automation, PurgeTriesEverySnapshotAndReportsAFailureAtTheEnd)
{
    EXPECT_TRUE(removeAllSnapshots());
    EXPECT_EQ(library_.count("remove_lvm_snapshot"), 0u);

    library_.addSnapshot(100, 1000);
    const uint64_t stuck = library_.addSnapshot(200, 1000);
    library_.addSnapshot(300, 1000);
    library_.failFor("remove_lvm_snapshot", stuck);
    EXPECT_FALSE(removeAllSnapshots());
    EXPECT_EQ(library_.ids(), std::vector<uint64_t>{stuck});
    EXPECT_EQ(library_.count("remove_lvm_snapshot"), 3u);
}

struct InfoCase {
    bool active;
    bool enabled;
    ScriptConfig config;
    std::string report;
    int status;
};

class ShowInfo : public Automation, public testing::WithParamInterface<InfoCase> {};

TEST_P(ShowInfo, ReportsStatusScriptAndItsParameters)
{
    systemctl_.setActive(GetParam().active);
    systemctl_.setEnabled(GetParam().enabled);
    const CapturedOutput out;
    EXPECT_EQ(showInfo(GetParam().config), GetParam().status);
    EXPECT_EQ(out.text(), GetParam().report);
    EXPECT_EQ(systemctl_.verbs(), (Verbs{"is-active", "is-enabled"}));
    EXPECT_EQ(library_.callCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Report, ShowInfo,
    testing::Values(
        InfoCase{true,
                 true,
                 {5, 3, 4, 247},
                 "Automation status: running\nCurrent script: 5\nSnapshots rotation period: 3 "
                 "days\nNumber of snapshots in a queue: 4\n",
                 0},
        InfoCase{true, false, {1, 0, 0, 0}, "Automation status: stopped\nCurrent script: 1\n", 1},
        InfoCase{false,
                 true,
                 {2, 0, 0, 0},
                 "Automation status: stopped\nCurrent script: 2\nSnapshot lifetime: unknown\n",
                 1},
        InfoCase{true,
                 true,
                 {4, -3, 0, 0},
                 "Automation status: running\nCurrent script: 4\nSnapshot lifetime: -3 days\n",
                 0},
        InfoCase{true,
                 true,
                 {6, 2, 0, 0},
                 "Automation status: running\nCurrent script: 6\nSnapshots rotation period: 2 "
                 "days\n",
                 0},
        InfoCase{
            false, false, {0, 0, 0, 0}, "Automation status: stopped\nCurrent script: unknown\n", 1},
        InfoCase{
            true, true, {7, 1, 1, 1}, "Automation status: running\nCurrent script: unknown\n", 0}));

} // namespace
