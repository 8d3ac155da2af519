// The sandbox tests mount over /etc and /run/lock. The binary moves itself into a mount
// namespace of its own first, with every mount private, so that nothing it mounts can reach the
// machine; where that is not allowed (not root), each test refuses to start.
#include <gtest/gtest.h>
#include <iostream>
#include <sched.h>
#include <sys/mount.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        std::cerr << "note: no private mount namespace; the sandbox tests will refuse to run\n";
    }
    return RUN_ALL_TESTS();
}
