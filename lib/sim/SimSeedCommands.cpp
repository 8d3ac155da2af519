// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimArguments.h"
#include "SimCommands.h"
#include "SimOperations.h"
#include "SimStateText.h"

#include <ctime>
#include <iostream>

namespace {

constexpr uint64_t kGiB = uint64_t{1} << 30;
constexpr uint64_t kMiB = uint64_t{1} << 20;

[[nodiscard]] bool readFigures(const CommandArguments& arguments, SimState& state)
{
    return readOption(arguments, "root-size", parseSize, state.rootSize) &&
           readOption(arguments, "vg-free", parseSize, state.vgFree) &&
           readOption(arguments, "boot-used", parseSize, state.bootUsed);
}

[[nodiscard]] uint64_t now()
{
    return static_cast<uint64_t>(std::time(nullptr));
}

// The new snapshot of an add command; false for values that do not parse.
[[nodiscard]] bool readNewSnapshot(const CommandArguments& arguments, SimSnapshot& snapshot)
{
    uint64_t age = 0;
    snapshot = SimSnapshot{0, now(), 0, 0};
    const bool read = readOption(arguments, "time", parseTime, snapshot.creationTime) &&
                      readOption(arguments, "age", parseUnsigned, age) &&
                      readOption(arguments, "size", parseSize, snapshot.size) &&
                      readOption(arguments, "fill", parseUnsigned, snapshot.fillingPercent);
    snapshot.creationTime = arguments.has("age") ? now() - age : snapshot.creationTime;
    return read && !(arguments.has("time") && arguments.has("age"));
}

} // namespace

int changeState(const StateFile& file, const std::function<int(SimState&)>& change)
{
    int status = kExitSuccess;
    const bool available = file.update([&](SimState& state) {
        SimState next = state;
        status = change(next);
        if (status == kExitSuccess) {
            state = next;
        }
    });
    return available ? status : complain("state unavailable or not stored: " + file.path());
}

int complain(const std::string& message)
{
    std::cerr << "norva-sim: " << message << '\n';
    return kExitFailure;
}

int runInit(const CommandWords& words, const StateFile& file)
{
    const auto arguments = splitArguments(words, {"root-size", "vg-free", "boot-used"});
    SimState state{10 * kGiB, 40 * kGiB, 200 * kMiB, 1, {}, {}};
    if (!arguments || !arguments->positional.empty() || !readFigures(*arguments, state)) {
        return kExitUsage;
    }
    return file.replace(state) ? kExitSuccess : complain("cannot write " + file.path());
}

int runSpace(const CommandWords& words, const StateFile& file)
{
    const auto arguments = splitArguments(words, {"root-size", "vg-free", "boot-used"});
    SimState probe;
    if (!arguments || !arguments->positional.empty() || !readFigures(*arguments, probe)) {
        return kExitUsage;
    }
    return changeState(file, [&](SimState& state) {
        return readFigures(*arguments, state) ? kExitSuccess : kExitUsage;
    });
}

int runAdd(const CommandWords& words, const StateFile& file)
{
    const auto arguments = splitArguments(words, {"time", "age", "size", "fill"});
    SimSnapshot snapshot;
    if (!arguments || !arguments->positional.empty() || !readNewSnapshot(*arguments, snapshot)) {
        return kExitUsage;
    }
    return changeState(file, [&](SimState& state) {
        const auto id =
            createSnapshot(state, snapshot.size, snapshot.creationTime, snapshot.fillingPercent);
        if (!id) {
            return complain("the snapshot does not fit the free space of the volume group");
        }
        std::cout << *id << '\n';
        return kExitSuccess;
    });
}

int runSet(const CommandWords& words, const StateFile& file)
{
    const auto arguments = splitArguments(words, {"time", "size", "fill"});
    const auto id = arguments && arguments->positional.size() == 1
                        ? parseUnsigned(arguments->positional[0])
                        : std::nullopt;
    SimSnapshot wanted;
    if (!id || !readOption(*arguments, "time", parseTime, wanted.creationTime) ||
        !readOption(*arguments, "size", parseSize, wanted.size) ||
        !readOption(*arguments, "fill", parseUnsigned, wanted.fillingPercent)) {
        return kExitUsage;
    }
    return changeState(file, [&](SimState& state) {
        if (findSnapshot(state, *id) == nullptr) {
            return complain("no snapshot " + std::to_string(*id));
        }
        if (arguments->has("size") && !setSnapshotSize(state, *id, wanted.size)) {
            return complain("the new size does not fit the free space of the volume group");
        }
        SimSnapshot& snapshot = *findSnapshot(state, *id);
        snapshot.creationTime =
            arguments->has("time") ? wanted.creationTime : snapshot.creationTime;
        snapshot.fillingPercent =
            arguments->has("fill") ? wanted.fillingPercent : snapshot.fillingPercent;
        return kExitSuccess;
    });
}

int runRemove(const CommandWords& words, const StateFile& file)
{
    const auto id = words.size() == 1 ? parseUnsigned(words[0]) : std::nullopt;
    if (!id) {
        return kExitUsage;
    }
    return changeState(file, [&](SimState& state) {
        return removeSnapshot(state, *id) ? kExitSuccess
                                          : complain("no snapshot " + std::to_string(*id));
    });
}
