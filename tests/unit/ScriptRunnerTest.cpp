#include "scripts/ScriptRunner.h"

#include "StdStreams.h"
#include "fakes/FakeSnapshotLibrary.h"
#include "fakes/FakeSystemctl.h"
#include "fakes/TestConfigPath.h"
#include "scripts/ManagerDouble.h"
#include "scripts/ManagerFactory.h"
#include "scripts/ManagerQueue.h"
#include "scripts/ManagerRotatedHook.h"
#include "scripts/ManagerSingleHook.h"

#include <gtest/gtest.h>

namespace {

class ScriptRunner : public testing::Test {
protected:
    void SetUp() override { removeConfigFile(); }
    void TearDown() override { removeConfigFile(); }

    FakeSnapshotLibrary library_;
    FakeSystemctl systemctl_;
};

TEST_F(ScriptRunner, FactoryBuildsTheClassOfEachScriptAndNothingElse)
{
    EXPECT_EQ(typeid(*createManager({1, 0, 0, 0})), typeid(ManagerSingle));
    EXPECT_EQ(typeid(*createManager({2, 0, 0, 0})), typeid(ManagerRotated));
    EXPECT_EQ(typeid(*createManager({3, 0, 0, 0})), typeid(ManagerSingleHook));
    EXPECT_EQ(typeid(*createManager({4, 0, 0, 0})), typeid(ManagerRotatedHook));
    EXPECT_EQ(typeid(*createManager({5, 0, 0, 0})), typeid(ManagerQueue));
    EXPECT_EQ(typeid(*createManager({6, 0, 0, 0})), typeid(ManagerDouble));
    for (const int32_t invalid : {0, 7, -1, INT32_MIN}) {
        EXPECT_EQ(createManager({invalid, 0, 0, 0}), nullptr);
    }
    EXPECT_EQ(createManager({5, 3, 4, 247})->config(), (ScriptConfig{5, 3, 4, 247}));
}

TEST_F(ScriptRunner, NoSavedScriptFailsCheckAndTriggerWithoutTouchingAnything)
{
    EXPECT_FALSE(checkScript({}));
    EXPECT_FALSE(triggerScript({}));
    EXPECT_FALSE(checkScript({9, 1, 1, 1}));
    EXPECT_EQ(library_.callCount(), 0u);
    EXPECT_TRUE(systemctl_.lines().empty());
}

TEST_F(ScriptRunner, ScriptsWithoutTriggerSucceedAndChangeNothing)
{
    library_.addSnapshot(100, 1000);
    for (const int32_t script : {1, 2, 5, 6}) {
        EXPECT_TRUE(triggerScript({script, 3, 4, 0}));
    }
    EXPECT_EQ(library_.callCount(), 0u);
    EXPECT_TRUE(systemctl_.lines().empty());
}

TEST_F(ScriptRunner, LaunchDistinguishesInvalidCancelledAndLaunched)
{
    {
        const ScriptedInput in("3\n");
        EXPECT_EQ(launchScript(7), LaunchStatus::Failed);
        EXPECT_EQ(launchScript(0), LaunchStatus::Failed);
    }
    {
        const ScriptedInput in("0\n");
        const CapturedOutput out;
        EXPECT_EQ(launchScript(2), LaunchStatus::Cancelled);
    }
    EXPECT_EQ(library_.callCount(), 0u);
    EXPECT_TRUE(systemctl_.lines().empty());
    EXPECT_FALSE(configFileExists());

    const ScriptedInput in("3\n");
    const CapturedOutput out;
    EXPECT_EQ(launchScript(2), LaunchStatus::Launched);
    EXPECT_EQ(readConfigFile(), "{\"script\":2,\"lifetime\":3,\"quantity\":0,\"size\":0}\n");
}

} // namespace
