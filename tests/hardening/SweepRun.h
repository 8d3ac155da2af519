#pragma once

#include "SweepStates.h"
#include "fakes/FakeSnapshotLibrary.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class Operation { Launch, Check, Trigger };

[[nodiscard]] const char* operationName(Operation operation);

// One fault to inject: none, the n-th snapshot library call (counted from 1, as the fake's call
// record lists them), or every systemctl command of one verb.
struct Fault {
    enum class Kind { None, LibraryCall, Verb };
    Kind kind = Kind::None;
    size_t call = 0;
    std::string verb;

    [[nodiscard]] std::string describe() const;
};

// Everything one run left behind that a promise can be checked against.
struct RunOutcome {
    bool result = false;    // the operation's result; for a command run, exit status 0
    int exitStatus = -1;    // command runs only
    bool threw = false;     // an exception left the operation
    std::string failedCall; // the library call the fault hit, empty when none
    std::vector<std::string> calls;
    std::vector<FakeSnapshot> before;
    std::vector<FakeSnapshot> after;
    std::vector<std::string> verbs;
    bool timerActive = false;
    bool timerEnabled = false;
    std::string configText; // the configuration file afterwards, empty when there is none
};

// Seeds fresh fakes with `state` (timer running and enabled, the previous script's record in the
// configuration file), injects `fault` and runs `operation` of `script`: on the manager itself,
// or, with `viaCommand`, through the command line's handler as the tool's main would.
[[nodiscard]] RunOutcome runScenario(int32_t script, Operation operation,
                                     const StartingState& state, const Fault& fault,
                                     bool viaCommand);

// The configuration file the runs start from: another script's record.
[[nodiscard]] std::string previousConfigText();

// False when the launch command cannot be run here: it takes the run lock in /run/lock, which
// the sweep only touches in a private mount namespace of its own.
[[nodiscard]] bool launchCommandAllowed();
void setLaunchCommandAllowed(bool allowed);
