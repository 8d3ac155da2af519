#include "SweepRun.h"

#include "StdStreams.h"
#include "cli/Options.h"
#include "config/ConfigFile.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeSystemctl.h"
#include "fakes/TestConfigPath.h"
#include "scripts/ManagerFactory.h"

#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace {

bool launchCommandAllowedFlag = false;

// Keeps the thousands of runs' messages out of the test log.
class SilencedStreams {
public:
    SilencedStreams() : out_(std::cout.rdbuf(sink_.rdbuf())), err_(std::cerr.rdbuf(sink_.rdbuf()))
    {
    }
    ~SilencedStreams()
    {
        std::cout.rdbuf(out_);
        std::cerr.rdbuf(err_);
    }
    SilencedStreams(const SilencedStreams&) = delete;
    SilencedStreams& operator=(const SilencedStreams&) = delete;

private:
    std::ostringstream sink_;
    std::streambuf* out_;
    std::streambuf* err_;
};

bool runOnManager(int32_t script, Operation operation)
{
    const auto manager = createManager(sweepConfig(script, operation != Operation::Launch));
    if (!manager) {
        ADD_FAILURE() << "no manager for script " << script;
        return false;
    }
    switch (operation) {
    case Operation::Launch:
        return manager->launch();
    case Operation::Check:
        return manager->check();
    case Operation::Trigger:
        return manager->trigger();
    }
    return false;
}

int runCommand(int32_t script, Operation operation)
{
    if (operation != Operation::Launch) {
        writeConfigFile(serializeConfig(sweepConfig(script, true)));
        return operation == Operation::Check ? checkCommand(nullptr) : triggerCommand(nullptr);
    }
    const ScriptedInput answers(launchAnswers(script));
    return launchCommand(std::to_string(script).c_str());
}

void injectFault(const Fault& fault, FakeSnapshotLibrary& library, FakeSystemctl& systemctl)
{
    if (fault.kind == Fault::Kind::LibraryCall) {
        library.failNthCall(fault.call);
    } else if (fault.kind == Fault::Kind::Verb) {
        systemctl.failVerb(fault.verb);
    }
}

} // namespace

const char* operationName(Operation operation)
{
    switch (operation) {
    case Operation::Launch:
        return "launch";
    case Operation::Check:
        return "check";
    case Operation::Trigger:
        return "trigger";
    }
    return "?";
}

std::string Fault::describe() const
{
    switch (kind) {
    case Kind::LibraryCall:
        return "library call " + std::to_string(call) + " fails";
    case Kind::Verb:
        return "systemctl " + verb + " fails";
    case Kind::None:
        break;
    }
    return "no fault";
}

std::string previousConfigText()
{
    return serializeConfig(ScriptConfig{1, 0, 0, 0});
}

bool launchCommandAllowed()
{
    return launchCommandAllowedFlag;
}

void setLaunchCommandAllowed(bool allowed)
{
    launchCommandAllowedFlag = allowed;
}

RunOutcome runScenario(int32_t script, Operation operation, const StartingState& state,
                       const Fault& fault, bool viaCommand)
{
    RunOutcome outcome;
    writeConfigFile(previousConfigText());
    const FakeClock clock;
    FakeSnapshotLibrary library;
    FakeSystemctl systemctl;
    systemctl.setActive(true);
    systemctl.setEnabled(true);
    seedLibrary(library, state, sweepConfig(script, true), FakeClock::now());
    injectFault(fault, library, systemctl);
    outcome.before = library.snapshots();
    try {
        const SilencedStreams silenced;
        if (viaCommand) {
            outcome.exitStatus = runCommand(script, operation);
            outcome.result = outcome.exitStatus == 0;
        } else {
            outcome.result = runOnManager(script, operation);
        }
    } catch (...) {
        outcome.threw = true;
    }
    outcome.calls = library.calls();
    if (fault.kind == Fault::Kind::LibraryCall && fault.call <= outcome.calls.size()) {
        outcome.failedCall = outcome.calls[fault.call - 1];
    }
    outcome.after = library.snapshots();
    outcome.verbs = systemctl.verbs();
    outcome.timerActive = systemctl.active();
    outcome.timerEnabled = systemctl.enabled();
    outcome.configText = readConfigFile();
    return outcome;
}
