#include "automation/RunLock.h"

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
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
}

TEST_F(RunLockTest, LockFilePlantedByAnotherUserOrASymlinkIsReplacedNotHonoured)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "planting another user's file needs root";
    }
    const int planted = ::open(path_.c_str(), O_RDWR | O_CREAT, 0644);
    ASSERT_GE(planted, 0);
    ASSERT_EQ(::fchown(planted, 65534, 65534), 0);
    ASSERT_EQ(::flock(planted, LOCK_EX), 0);
    EXPECT_TRUE(RunLock::acquire(path_.c_str(), std::chrono::milliseconds(0)).has_value());
    ::close(planted);

    std::filesystem::remove(path_);
    const auto target = path_.string() + ".target";
    std::filesystem::create_symlink(target, path_);
    EXPECT_TRUE(RunLock::acquire(path_.c_str(), std::chrono::milliseconds(0)).has_value());
    EXPECT_FALSE(std::filesystem::exists(target)) << "the symlink was followed";
    EXPECT_FALSE(std::filesystem::is_symlink(path_));
}

} // namespace
