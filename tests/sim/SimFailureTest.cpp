#include "SimStateFixture.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kOneSnapshot = "root_size 100\nvg_free 1000\nboot_used 5\n"
                                     "snapshot 1 1000 100 20\nsnapshot 2 2000 100 40\n";

class SimFailures : public SimStateFixture {
protected:
    void SetUp() override
    {
        SimStateFixture::SetUp();
        writeState(kOneSnapshot);
    }
};

TEST_F(SimFailures, FailureOnEveryCallAnswersFailureAndChangesNothing)
{
    writeState(std::string(kOneSnapshot) + "fail create_lvm_snapshot\n" +
               "fail can_create_lvm_snapshot *\nfail root_vg_free_space\n" +
               "fail existing_lvm_snapshots\n");
    for (int call = 0; call < 3; ++call) {
        EXPECT_FALSE(create_lvm_snapshot(10));
        EXPECT_EQ(can_create_lvm_snapshot(10), 3);
        EXPECT_EQ(root_vg_free_space(), 0u);
        const HeldList list(existing_lvm_snapshots());
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list.get()[0], nullptr);
    }
    EXPECT_EQ(root_volume_size(), 100u);
    EXPECT_EQ(boot_partition_used_space(), 5u);
    EXPECT_NE(stateText().find("vg_free 1000\n"), std::string::npos);
}

TEST_F(SimFailures, CountedFailureStopsAfterItsCalls)
{
    writeState(std::string(kOneSnapshot) + "fail create_lvm_snapshot * 2\n");
    EXPECT_FALSE(create_lvm_snapshot(10));
    EXPECT_FALSE(create_lvm_snapshot(10));
    EXPECT_TRUE(create_lvm_snapshot(10));
    EXPECT_EQ(stateText().find("fail"), std::string::npos);
}

TEST_F(SimFailures, SnapshotFailureHitsOnlyThatSnapshot)
{
    writeState(std::string(kOneSnapshot) + "fail remove_lvm_snapshot 2 1\n" +
               "fail lvm_snapshot_filling_percent 1\n");
    const HeldList list(existing_lvm_snapshots());
    const auto handles = handlesOf(list);
    EXPECT_EQ(lvm_snapshot_filling_percent(handles[0]), 0u);
    EXPECT_EQ(lvm_snapshot_filling_percent(handles[1]), 40u);
    EXPECT_EQ(lvm_snapshot_creation_time(handles[0]), 1000u);

    EXPECT_FALSE(remove_lvm_snapshot(handles[1]));
    EXPECT_EQ(lvm_snapshot_creation_time(handles[1]), 2000u);
    EXPECT_TRUE(remove_lvm_snapshot(handles[1]));
    EXPECT_TRUE(remove_lvm_snapshot(handles[0]));
}

TEST_F(SimFailures, SnapshotFailureIsUsedBeforeFailureOfEveryCall)
{
    writeState(std::string(kOneSnapshot) + "fail lvm_snapshot_size * 1\n" +
               "fail lvm_snapshot_size 2 1\n");
    const HeldList list(existing_lvm_snapshots());
    const auto handles = handlesOf(list);
    EXPECT_EQ(lvm_snapshot_size(handles[1]), 0u);
    EXPECT_EQ(lvm_snapshot_size(handles[1]), 0u);
    EXPECT_EQ(lvm_snapshot_size(handles[1]), 100u);
}

TEST_F(SimFailures, UnsetStateAnswersFailureAndWritesNothing)
{
    ::unsetenv("NORVASNAPSHOTS_SIM_STATE");
    const HeldList list(existing_lvm_snapshots());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list.get()[0], nullptr);
    EXPECT_FALSE(create_lvm_snapshot(10));
    EXPECT_EQ(can_create_lvm_snapshot(10), 2);
    EXPECT_EQ(root_volume_size(), 0u);
    EXPECT_EQ(stateText(), kOneSnapshot);
}

TEST_F(SimFailures, MissingOrInvalidStateAnswersFailureAndWritesNothing)
{
    std::filesystem::remove(statePath_);
    EXPECT_EQ(can_create_lvm_snapshot(10), 2);
    EXPECT_FALSE(create_lvm_snapshot(10));
    EXPECT_TRUE(std::filesystem::is_empty(directory_));

    for (const char* invalid : {"vg_free lots\n", "snapshot 1 2 3\n", "fail no_such_function\n",
                                "snapshot 1 0 1 0\nsnapshot 1 0 1 0\n", "colour blue\n"}) {
        writeState(invalid);
        EXPECT_EQ(can_create_lvm_snapshot(1), 2) << invalid;
        EXPECT_FALSE(create_lvm_snapshot(1)) << invalid;
        EXPECT_EQ(stateText(), invalid);
    }
}

TEST_F(SimFailures, ConcurrentProcessesLoseNoSnapshot)
{
    constexpr int kProcesses = 4;
    constexpr int kCreations = 25;
    writeState("root_size 1\nvg_free 1000\n");
    for (int process = 0; process < kProcesses; ++process) {
        if (::fork() == 0) {
            int created = 0;
            for (int i = 0; i < kCreations; ++i) {
                created += create_lvm_snapshot(1) ? 1 : 0;
            }
            ::_exit(created == kCreations ? 0 : 1);
        }
    }
    for (int process = 0; process < kProcesses; ++process) {
        int status = 0;
        ASSERT_GT(::wait(&status), 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const HeldList list(existing_lvm_snapshots());
    EXPECT_EQ(handlesOf(list).size(), size_t{kProcesses * kCreations});
    EXPECT_EQ(root_vg_free_space(), 1000u - kProcesses * kCreations);
}

} // namespace
