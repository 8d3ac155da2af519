// The tool's own scripts on this library and the fake lvm: what a check does to real LVM
// volumes, and how many lvm processes it costs. Each check runs as a new process would.
#include "LvmFixture.h"
#include "scripts/ManagerFactory.h"

#include <ctime>

namespace {

[[nodiscard]] std::string secondsAgo(uint64_t seconds)
{
    return std::to_string(static_cast<uint64_t>(std::time(nullptr)) - seconds);
}

const std::string kFullTag = "norvasnap_size_" + std::to_string(kRootSize);

} // namespace

class LvmScripts : public LvmFixture {
protected:
    // One run of `norva-snapshots-manager -c` for this configuration.
    bool check(const ScriptConfig& config)
    {
        startNewProcess();
        return createManager(config)->check();
    }
};

TEST_F(LvmScripts, ASecondCheckOfScript1ChangesNothingAndRunsLvsOnce)
{
    ASSERT_TRUE(check({1, 0, 0, 0}));
    EXPECT_EQ(changeCount(), 1U);
    const size_t before = calls().size();
    ASSERT_TRUE(check({1, 0, 0, 0}));
    EXPECT_EQ(calls().size(), before + 1);
    EXPECT_EQ(argvs().back().front(), "lvs");
}

TEST_F(LvmScripts, Script1ReplacesAnOverflowedSnapshot)
{
    seed({{"old", 2, secondsAgo(100), "100.00", {kFullTag}, true}});
    ASSERT_TRUE(check({1, 0, 0, 0}));
    const auto all = argvs();
    // The free extents are read again after the removal, before the new snapshot is made.
    ASSERT_EQ(all.size(), 4U);
    EXPECT_EQ(all[1], (std::vector<std::string>{"lvremove", "-y", "vg/old"}));
    EXPECT_EQ(all[2].front(), "lvs");
    EXPECT_EQ(all[3].front(), "lvcreate");
    EXPECT_EQ(lvState("root_snap_1796549600").at("extents").as_int64(), 129);
}

TEST_F(LvmScripts, Script1GrowsAHandMadeSnapshotToFullSizeOnce)
{
    seed({{"byhand", 10, secondsAgo(100)}});
    ASSERT_TRUE(check({1, 0, 0, 0}));
    EXPECT_EQ(lvState("byhand").at("extents").as_int64(), 129);
    const size_t changes = changeCount();
    ASSERT_TRUE(check({1, 0, 0, 0}));
    EXPECT_EQ(changeCount(), changes);
}

TEST_F(LvmScripts, SteadyStateChecksOfEveryScriptRunOneLvmProcess)
{
    const uint64_t queueSize = 123456789;
    const std::string queueTag = "norvasnap_size_" + std::to_string(queueSize);
    struct Case {
        ScriptConfig config;
        std::vector<SeedSnapshot> snapshots;
    };
    const std::vector<Case> cases{
        {{1, 0, 0, 0}, {{"f", kFullExtents, secondsAgo(60), "3.00", {kFullTag}}}},
        {{2, 3, 0, 0}, {{"f", kFullExtents, secondsAgo(60), "3.00", {kFullTag}}}},
        {{5, 1, 3, queueSize},
         {{"q1", 30, secondsAgo(200000), "3.00", {queueTag}},
          {"q2", 30, secondsAgo(60), "3.00", {queueTag}}}},
        {{6, 2, 0, 0},
         {{"f", kFullExtents, secondsAgo(600), "3.00", {kFullTag}},
          {"a", 40, secondsAgo(60), "3.00", {"norvasnap_size_167772160"}}}}};
    for (const Case& steady : cases) {
        seed(steady.snapshots);
        std::filesystem::remove(dir_ / "calls.log");
        EXPECT_TRUE(check(steady.config)) << "script " << steady.config.script;
        EXPECT_EQ(calls().size(), 1U) << "script " << steady.config.script;
    }
}

TEST_F(LvmScripts, QueueCheckKeepsItsUnalignedSizeWithoutResizing)
{
    const ScriptConfig queue{5, 1, 3, 329999999};
    ASSERT_TRUE(check(queue));
    ASSERT_EQ(changeCount(), 1U);
    ASSERT_TRUE(check(queue));
    EXPECT_EQ(changeCount(), 1U);
}

TEST_F(LvmScripts, AVgTooSmallForTheNextSnapshotFailsWithoutChanges)
{
    seed({}, 128 + 100);
    EXPECT_FALSE(check({1, 0, 0, 0}));
    EXPECT_EQ(changeCount(), 0U);
}
