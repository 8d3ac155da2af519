#include "ScriptPromises.h"

#include "config/ConfigFile.h"

#include <algorithm>

namespace {

constexpr uint64_t kUsableFilling = 99;
constexpr uint64_t kTolerableQueueFilling = 94;

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

bool isUsable(const FakeSnapshot& snapshot)
{
    return snapshot.creationTime != 0 && snapshot.filling <= kUsableFilling;
}

bool isFullUsable(const FakeSnapshot& snapshot)
{
    return isUsable(snapshot) && snapshot.size == kSweepRootSize;
}

// Scripts 2 and 4 rotate by creating the new snapshot first: a usable oldest snapshot is never
// removed before a creation has succeeded in the same run. A failed reading of its creation
// time makes it undated, and an undated snapshot is replaced, not rotated.
bool removesUsableBeforeCreating(const Fault& fault, const RunOutcome& outcome)
{
    if (outcome.before.empty() || !isUsable(outcome.before.front())) {
        return false;
    }
    const std::string oldest = "#" + std::to_string(outcome.before.front().id) + ")";
    if (outcome.failedCall == "lvm_snapshot_creation_time(" + oldest) {
        return false;
    }
    for (size_t index = 0; index < outcome.calls.size(); ++index) {
        const std::string& call = outcome.calls[index];
        const bool failed = fault.kind == Fault::Kind::LibraryCall && fault.call == index + 1;
        if (startsWith(call, "create_lvm_snapshot(") && !failed) {
            return false;
        }
        if (call == "remove_lvm_snapshot(" + oldest) {
            return true;
        }
    }
    return false;
}

bool checkLeftScriptState(int32_t script, const std::vector<FakeSnapshot>& after)
{
    switch (script) {
    case 5:
        return std::all_of(after.begin(), after.end(), [](const FakeSnapshot& snapshot) {
            return snapshot.size == kSweepQueueSize && snapshot.creationTime != 0 &&
                   snapshot.filling <= kTolerableQueueFilling;
        });
    case 6:
        // A pair that is not yet due is left as it is, sizes included.
        return !after.empty() && after.size() <= 2 &&
               std::all_of(after.begin(), after.end(), isUsable);
    default:
        return after.size() == 1 && isFullUsable(after.front());
    }
}

bool launchLeftScriptState(int32_t script, const RunOutcome& outcome)
{
    if (outcome.after.size() != 1 || !outcome.timerActive || !outcome.timerEnabled) {
        return false;
    }
    ScriptConfig expected = sweepConfig(script, false);
    if (script == 5) {
        expected.snapshotSize = outcome.after.front().size;
    }
    return parseConfig(outcome.configText) == expected;
}

} // namespace

bool faultIsARefusal(const Fault& fault, const RunOutcome& outcome)
{
    const std::string& call = outcome.failedCall;
    return fault.kind != Fault::Kind::LibraryCall || call.empty() ||
           startsWith(call, "create_lvm_snapshot(") || startsWith(call, "remove_lvm_snapshot(") ||
           startsWith(call, "resize_lvm_snapshot(") ||
           startsWith(call, "can_create_lvm_snapshot(") || call == "free_existing_lvm_snapshots";
}

std::vector<std::string> brokenPromises(int32_t script, Operation operation, const Fault& fault,
                                        const RunOutcome& outcome)
{
    std::vector<std::string> broken;
    if (outcome.threw) {
        broken.emplace_back("an exception left the operation");
    }
    const bool rotates = (script == 2 || script == 4) && operation != Operation::Launch;
    if (rotates && removesUsableBeforeCreating(fault, outcome)) {
        broken.emplace_back("the usable oldest snapshot was removed before a new one was created");
    }
    if (script == 5 && operation == Operation::Check && outcome.result &&
        outcome.after.size() > static_cast<size_t>(sweepConfig(5, true).quantity)) {
        broken.emplace_back("a successful queue check left more snapshots than the queue holds");
    }
    if (operation == Operation::Check && !outcome.verbs.empty()) {
        broken.emplace_back("a check ran systemctl");
    }
    if (!outcome.result || !faultIsARefusal(fault, outcome)) {
        return broken;
    }
    if (operation == Operation::Check && !checkLeftScriptState(script, outcome.after)) {
        broken.emplace_back("a successful check left snapshots out of the script's shape");
    }
    if (operation == Operation::Launch && !launchLeftScriptState(script, outcome)) {
        broken.emplace_back("a successful launch left other than one snapshot, the saved record "
                            "and a running timer");
    }
    const bool hook = script == 3 || script == 4;
    if (hook && operation == Operation::Trigger && fault.kind != Fault::Kind::Verb &&
        (outcome.timerActive || outcome.timerEnabled)) {
        broken.emplace_back("a successful trigger left the timer running or enabled");
    }
    return broken;
}
