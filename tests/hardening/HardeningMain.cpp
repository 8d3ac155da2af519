// The unit-level hardening tests run the launch command, which takes the run lock in /run/lock.
// As root the binary first moves into a mount namespace of its own with a fresh /run/lock, so
// that no lock file of the machine is ever touched; elsewhere the launch command is left out.
#include "SweepRun.h"

#include <gtest/gtest.h>
#include <iostream>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

bool privateLockDirectory()
{
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("tmpfs", "/run/lock", "tmpfs", 0, "mode=1777") == 0;
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const bool isolated = privateLockDirectory();
    setLaunchCommandAllowed(isolated);
    if (!isolated) {
        std::cerr << "note: not root or no private mount namespace; the launch command is "
                     "compared only as root\n";
    }
    return RUN_ALL_TESTS();
}
