// A run that finds the lock held for longer than it may wait gives up with one message and
// exit status 1, having changed nothing. Every changing option waits at once, so the test
// takes the wait limit (a minute) once; the options that change nothing do not wait at all.
#include "LockSandbox.h"

#include <map>

namespace {

const std::string kBusy =
    "Another norva-snapshots-manager run is still in progress; nothing was changed.\n";
const std::string kLifetimeQuestion =
    "Enter snapshot lifetime in days (from 1 to 7) or 0 to cancel: ";

class HeldLock : public LockSandbox {};

TEST_F(HeldLock, EveryChangingRunGivesUpUnchangedWhenTheLockStaysHeld)
{
    writeConfig("{\"script\":3,\"lifetime\":0,\"quantity\":0,\"size\":0}\n");
    setTimer(true, true);
    sim({"add", "--age", "86400", "--size", "1G"});
    const std::string state = simState();
    const auto configBefore = config();
    holdLock();

    std::map<std::string, pid_t> waiting;
    for (const char* option : {"-c", "-t", "-p", "-b", "-r", "-s1", "--check", "--purge"}) {
        waiting[option] = start({option});
    }
    waiting["-s2"] = start({"-s2"}, "3\n");

    const ToolRun info = run({"-i"});
    EXPECT_EQ(info.out.rfind("Automation status: running\nCurrent script: 3\n", 0), 0U) << info.out;
    EXPECT_EQ(info.err, "");
    EXPECT_EQ(run({"-h"}).status, 0);
    const std::string readOnlyCalls = systemctlLog();

    for (const auto& [option, child] : waiting) {
        SCOPED_TRACE(option);
        const ToolRun ran = finish(child);
        EXPECT_EQ(ran.status, 1);
        EXPECT_EQ(ran.err, kBusy);
        EXPECT_EQ(ran.out, option == "-s2" ? kLifetimeQuestion : "");
    }
    EXPECT_EQ(simState(), state) << "the snapshots changed";
    EXPECT_EQ(config(), configBefore) << "the configuration changed";
    EXPECT_EQ(systemctlLog(), readOnlyCalls) << "the timer was touched";
    EXPECT_TRUE(timerActive());
}

} // namespace
