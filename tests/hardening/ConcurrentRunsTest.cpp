// Runs that change snapshots, the timer or the configuration go one at a time: started together
// they end as one after the other would, and a run that cannot get its turn in time gives up
// without changing anything.
#include "LockSandbox.h"

#include <chrono>
#include <sstream>
#include <sys/wait.h>
#include <thread>

namespace {

constexpr int kRounds = 20;
constexpr const char* kDay = "86400";

// The id the simulator gives its next snapshot in `state`.
unsigned long nextId(const std::string& state)
{
    const auto at = state.find("next_id ");
    return at == std::string::npos ? 0 : std::stoul(state.substr(at + 8));
}

// The simulator's state with the creation times of snapshots made since `start` blanked out:
// those depend on the moment the run made them.
std::string withoutNewTimes(const std::string& state, const std::string& start)
{
    const unsigned long seeded = nextId(start);
    std::istringstream in(state);
    std::ostringstream out;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string kind;
        unsigned long id = 0;
        std::string created;
        std::string rest;
        if (words >> kind >> id >> created && kind == "snapshot" && id >= seeded) {
            std::getline(words, rest);
            line = "snapshot " + std::to_string(id) + " <new>" + rest;
        }
        out << line << '\n';
    }
    return out.str();
}

class ConcurrentRuns : public LockSandbox {
protected:
    // The state after running `first` then `second` from `start`, both of which must succeed.
    std::string oneAfterTheOther(const std::string& start, const std::string& first,
                                 const std::string& second)
    {
        setSimState(start);
        EXPECT_EQ(run({first}).status, 0) << first;
        EXPECT_EQ(run({second}).status, 0) << second;
        return withoutNewTimes(simState(), start);
    }

    // Starts both runs at once; the state they leave.
    std::string together(const std::string& start, const std::string& first,
                         const std::string& second)
    {
        setSimState(start);
        const auto children = startTogether({{first}, {second}});
        const ToolRun ranA = finish(children[0]);
        const ToolRun ranB = finish(children[1]);
        EXPECT_EQ(ranA.status, 0) << first << ": " << ranA.err;
        EXPECT_EQ(ranB.status, 0) << second << ": " << ranB.err;
        return withoutNewTimes(simState(), start);
    }
};

TEST_F(ConcurrentRuns, TwoQueueChecksStartedTogetherRotateTheQueueOnce)
{
    // Four snapshots one period apart, the newest just due: one check rotates, the next finds
    // the queue in order. Two at once must not both drop the oldest or both add a snapshot.
    writeConfig("{\"script\":5,\"lifetime\":1,\"quantity\":4,\"size\":1073741824}\n");
    for (const char* age : {"345600", "259200", "172800", "86400"}) {
        sim({"add", "--age", age, "--size", "1G"});
    }
    const std::string start = simState();
    const std::string expected = oneAfterTheOther(start, "-c", "-c");
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_EQ(together(start, "-c", "-c"), expected);
    }
}

TEST_F(ConcurrentRuns, TriggerAndCheckStartedTogetherEndAsEitherOrderWould)
{
    writeConfig("{\"script\":3,\"lifetime\":0,\"quantity\":0,\"size\":0}\n");
    setTimer(true, true);
    sim({"add", "--age", kDay});
    const std::string start = simState();
    const std::string triggerFirst = oneAfterTheOther(start, "-t", "-c");
    const std::string checkFirst = oneAfterTheOther(start, "-c", "-t");
    ASSERT_NE(triggerFirst, checkFirst) << "the two orders must be told apart";
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const std::string left = together(start, "-t", "-c");
        EXPECT_TRUE(left == triggerFirst || left == checkFirst) << left;
    }
}

TEST_F(ConcurrentRuns, ARunWaitsWhileAnotherHoldsTheLockAndThenGoesOn)
{
    writeConfig("{\"script\":1,\"lifetime\":0,\"quantity\":0,\"size\":0}\n");
    holdLock();
    const pid_t check = start({"-c"});
    for (int poll = 0; poll < 1000 && !hasLockFileOpen(check); ++poll) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(hasLockFileOpen(check)) << "the check never came to the lock";
    // Long enough for an unlocked check to have finished; a waiting one waits a minute.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    int status = 0;
    EXPECT_EQ(::waitpid(check, &status, WNOHANG), 0) << "the check did not wait for the lock";
    EXPECT_EQ(simState().find("snapshot "), std::string::npos);
    releaseLock();
    const ToolRun ran = finish(check);
    EXPECT_EQ(ran.status, 0) << ran.err;
    EXPECT_NE(simState().find("snapshot 1 "), std::string::npos) << simState();
}

} // namespace
