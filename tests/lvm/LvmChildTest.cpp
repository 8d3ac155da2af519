#include "LvmFixture.h"

#include <fcntl.h>
#include <unistd.h>

// How lvm is started: what it gets from us and what it does not.
class LvmChild : public LvmFixture {};

TEST_F(LvmChild, GetsAFixedEnvironmentAndNothingOfOurs)
{
    ::setenv("LD_PRELOAD", "libfaketime.so.1", 1);
    ::setenv("LVM_SYSTEM_DIR", "/tmp/elsewhere", 1);
    free_existing_lvm_snapshots(existing_lvm_snapshots());
    ::unsetenv("LD_PRELOAD");
    ::unsetenv("LVM_SYSTEM_DIR");
    ASSERT_EQ(calls().size(), 1U);
    EXPECT_EQ(calls()[0].env,
              (std::vector<std::string>{"LC_ALL=C", "PATH=/usr/sbin:/usr/bin:/sbin:/bin",
                                        "LVM_SUPPRESS_FD_WARNINGS=1"}));
}

TEST_F(LvmChild, ReadsNullInputAndInheritsNoDescriptorOfOurs)
{
    // A descriptor left open without close-on-exec, as std::ifstream leaves them.
    const int leaked = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(leaked, 3);
    ASSERT_TRUE(create_lvm_snapshot(0));
    ::close(leaked);
    for (const LvmCall& call : calls()) {
        EXPECT_EQ(call.stdinTarget, "/dev/null");
        // 0-2 and the one the fake itself opens to list them.
        EXPECT_EQ(call.fds.size(), 4U) << call.argv.front();
    }
}

TEST_F(LvmChild, WritesNothingOnOurOutputEvenWhenLvmComplains)
{
    failNext("lvs", 5, "  Volume group \"vg\" not found\n");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    free_existing_lvm_snapshots(existing_lvm_snapshots());
    EXPECT_FALSE(create_lvm_snapshot(0));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(log_.empty());
}
