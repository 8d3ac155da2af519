// Makes every snapshot library call fail in turn, and every systemctl verb, for each script and
// operation over a set of starting states, and checks after each run what must hold whatever
// failed: nothing thrown, lists and handles used correctly (the fake reports misuse when it is
// destroyed), the exit status telling the operation's result, and the script's own promises.
#include "ScriptPromises.h"
#include "SweepRun.h"

#include <array>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <tuple>

namespace {

constexpr std::array<const char*, 6> kVerbs = {"is-active", "is-enabled", "stop",
                                               "disable",   "enable",     "start"};

std::string joined(const std::vector<std::string>& lines)
{
    std::ostringstream text;
    for (const std::string& line : lines) {
        text << "\n    " << line;
    }
    return text.str();
}

class FaultSweep : public ::testing::TestWithParam<std::tuple<int32_t, Operation>> {
protected:
    // Runs one scenario on the manager and through the command line; false when the fault was
    // never reached (the run made fewer calls than the fault's number).
    bool sweepOne(const StartingState& state, const Fault& fault)
    {
        const auto [script, operation] = GetParam();
        SCOPED_TRACE("script " + std::to_string(script) + " " + operationName(operation) +
                     ", state " + state.name + ", " + fault.describe());
        const RunOutcome direct = runScenario(script, operation, state, fault, false);
        if (fault.kind == Fault::Kind::LibraryCall && fault.call > direct.calls.size()) {
            return false;
        }
        ++tried_;
        for (const std::string& broken : brokenPromises(script, operation, fault, direct)) {
            ADD_FAILURE() << broken << " (the fault hit: "
                          << (direct.failedCall.empty() ? "nothing" : direct.failedCall)
                          << "); calls:" << joined(direct.calls);
        }
        if (operation != Operation::Launch || launchCommandAllowed()) {
            expectSameThroughCommand(state, fault, direct);
        }
        return true;
    }

    void expectSameThroughCommand(const StartingState& state, const Fault& fault,
                                  const RunOutcome& direct)
    {
        const auto [script, operation] = GetParam();
        const RunOutcome command = runScenario(script, operation, state, fault, true);
        EXPECT_FALSE(command.threw);
        EXPECT_EQ(command.calls, direct.calls) << "the command took another path";
        EXPECT_EQ(command.exitStatus, direct.result ? 0 : 1)
            << "exit status for an operation that gave " << direct.result;
    }

    size_t tried_ = 0;
};

TEST_P(FaultSweep, KeepsItsPromisesWhateverCallFails)
{
    for (const StartingState& state : startingStates()) {
        static_cast<void>(sweepOne(state, Fault{}));
        for (size_t call = 1; sweepOne(state, Fault{Fault::Kind::LibraryCall, call, {}}); ++call) {
        }
        for (const char* verb : kVerbs) {
            static_cast<void>(sweepOne(state, Fault{Fault::Kind::Verb, 0, verb}));
        }
    }
    const auto [script, operation] = GetParam();
    RecordProperty("runs", static_cast<int>(tried_));
    std::cout << "[ sweep    ] script " << script << " " << operationName(operation) << ": "
              << startingStates().size() << " states, " << tried_ << " runs\n";
}

std::string sweepName(const ::testing::TestParamInfo<std::tuple<int32_t, Operation>>& info)
{
    return "Script" + std::to_string(std::get<0>(info.param)) + "_" +
           operationName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(AllScripts, FaultSweep,
                         ::testing::Combine(::testing::Range(1, 7),
                                            ::testing::Values(Operation::Launch, Operation::Check,
                                                              Operation::Trigger)),
                         sweepName);

} // namespace
