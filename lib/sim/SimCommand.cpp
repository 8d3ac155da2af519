// SPDX-License-Identifier: LGPL-2.1-or-later
// norva-sim: seeds, changes and shows the state of the simulated snapshot library, so that
// tests and demonstrations can set up the snapshots the tool is to find.
#include "SimArguments.h"
#include "SimCommands.h"
#include "SimFailures.h"
#include "SimShow.h"
#include "SimStateText.h"

#include <algorithm>
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kUsage =
    "usage: norva-sim COMMAND [ARGUMENTS]\n"
    "Acts on the state file named by NORVASNAPSHOTS_SIM_STATE. Sizes are bytes, or take a\n"
    "binary suffix K, M, G or T; a size of 0 means the root volume size. Times are seconds\n"
    "since the epoch or a UTC date-time YYYY-MM-DDTHH:MM:SS.\n"
    "  init [--root-size N] [--vg-free N] [--boot-used N]\n"
    "        new state without snapshots (defaults: 10G, 40G, 200M)\n"
    "  space [--root-size N] [--vg-free N] [--boot-used N]\n"
    "        change the volume figures\n"
    "  add [--time T | --age SECONDS] [--size N] [--fill PERCENT]\n"
    "        add the newest snapshot, taking its size from the free space; prints its id\n"
    "  set ID [--time T] [--size N] [--fill PERCENT]\n"
    "        change a snapshot (a new size is settled with the free space)\n"
    "  remove ID\n"
    "        remove a snapshot, giving its size back to the free space\n"
    "  fail FUNCTION [ID|*] [--times K]\n"
    "        make a library function fail, for one snapshot or every call, K times or always\n"
    "  unfail\n"
    "        forget every failure to inject\n"
    "  show [--raw]\n"
    "        print the snapshots and volume figures (--raw: the state file text)\n";

using Command = int (*)(const CommandWords&, const StateFile&);

[[nodiscard]] Command findCommand(std::string_view name)
{
    static constexpr std::pair<std::string_view, Command> kCommands[] = {
        {"init", runInit},     {"space", runSpace}, {"add", runAdd},       {"set", runSet},
        {"remove", runRemove}, {"fail", runFail},   {"unfail", runUnfail}, {"show", runShow}};
    const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                     [name](const auto& command) { return command.first == name; });
    return found == std::end(kCommands) ? nullptr : found->second;
}

} // namespace

int runFail(const CommandWords& words, const StateFile& file)
{
    const auto arguments = splitArguments(words, {"times"});
    if (!arguments || arguments->positional.empty() || arguments->positional.size() > 2) {
        return kExitUsage;
    }
    SimFailure failure{arguments->positional[0], std::nullopt, std::nullopt};
    if (!isFailableFunction(failure.function)) {
        complain("no library function to fail: " + failure.function);
        return kExitUsage;
    }
    if (arguments->positional.size() == 2 && arguments->positional[1] != "*") {
        failure.snapshotId = parseUnsigned(arguments->positional[1]);
        if (!failure.snapshotId || !actsOnSnapshot(failure.function)) {
            complain(failure.function + " cannot fail for one snapshot id");
            return kExitUsage;
        }
    }
    uint64_t times = 0;
    if (!readOption(*arguments, "times", parseUnsigned, times) ||
        (arguments->has("times") && times == 0)) {
        return kExitUsage;
    }
    failure.remainingCalls = arguments->has("times") ? std::optional(times) : std::nullopt;
    return changeState(file, [&](SimState& state) {
        std::erase_if(state.failures, [&](const SimFailure& f) {
            return f.function == failure.function && f.snapshotId == failure.snapshotId;
        });
        state.failures.push_back(failure);
        return kExitSuccess;
    });
}

int runUnfail(const CommandWords& words, const StateFile& file)
{
    if (!words.empty()) {
        return kExitUsage;
    }
    return changeState(file, [](SimState& state) {
        state.failures.clear();
        return kExitSuccess;
    });
}

int runShow(const CommandWords& words, const StateFile& file)
{
    const auto arguments = splitArguments(words, {}, {"raw"});
    if (!arguments || !arguments->positional.empty()) {
        return kExitUsage;
    }
    const auto state = file.read();
    if (!state) {
        return complain("state unavailable: " + file.path());
    }
    std::cout << (arguments->has("raw") ? formatSimState(*state) : formatStateTable(*state));
    return kExitSuccess;
}

int main(int argc, char** argv)
{
    const CommandWords words(argv + std::min(argc, 2), argv + argc);
    const Command command = argc >= 2 ? findCommand(argv[1]) : nullptr;
    const auto path = stateFileFromEnvironment();
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        std::cout << kUsage;
        return kExitSuccess;
    }
    if (command == nullptr) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    if (!path) {
        return complain(std::string(kStateVariable) + " is not set");
    }
    const int status = command(words, StateFile(*path));
    if (status == kExitUsage) {
        std::cerr << kUsage;
    }
    return status;
}
