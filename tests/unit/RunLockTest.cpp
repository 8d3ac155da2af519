#include "automation/RunLock.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class RunLockTest : public testing::Test {
protected:
    void SetUp() override
    {
        path_ = std::filesystem::temp_directory_path() /
                ("norva-run-lock-" + std::to_string(::getpid()));
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::filesystem::path path_;
};

TEST_F(RunLockTest, SecondRunWaitsThenGivesUpWhileTheFirstHoldsTheLock)
{
    const auto first = RunLock::acquire(path_.c_str(), std::chrono::milliseconds(0));
    ASSERT_TRUE(first.has_value());
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunLock::acquire(path_.c_str(), std::chrono::milliseconds(300)).has_value());
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(300));
}

TEST_F(RunLockTest, LockIsFreeAgainOnceTheHolderEnds)
{
    {
        const auto first = RunLock::acquire(path_.c_str(), std::chrono::milliseconds(0));
        ASSERT_TRUE(first.has_value());
    }
    EXPECT_TRUE(RunLock::acquire(path_.c_str(), std::chrono::milliseconds(0)).has_value());
}

TEST_F(RunLockTest, UnopenableLockFileIsNoLock)
{
    EXPECT_FALSE(RunLock::acquire("/nonexistent-directory/lock", std::chrono::milliseconds(0)));
    std::filesystem::create_symlink("/tmp", path_);
    EXPECT_FALSE(RunLock::acquire(path_.c_str(), std::chrono::milliseconds(0)));
}

} // namespace
