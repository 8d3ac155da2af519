#include "SweepStates.h"

namespace {

constexpr int64_t kHour = 3600;
constexpr int64_t kDay = 86400;
constexpr int32_t kDays = 3;
constexpr int32_t kQueueLength = 4;

// Dated and usable, of the script's own size.
SeedSnapshot aged(int64_t ageSeconds)
{
    return {ageSeconds, false, 0, 10};
}

std::vector<StartingState> buildStates()
{
    return {
        {"none", {}},
        {"one", {aged(kHour)}},
        {"two", {aged(5 * kDay), {kDay, false, 600, 20}}},
        {"several",
         {aged(20 * kDay), aged(14 * kDay), aged(10 * kDay), aged(6 * kDay), aged(3 * kDay),
          aged(12 * kHour)}},
        {"undated", {{2 * kDay, true, 0, 10}, aged(kDay)}},
        {"overfilled", {{2 * kDay, false, 0, 100}, {6 * kHour, false, 0, 96}}},
        {"wrongSized", {{kDay, false, 400, 10}, {2 * kHour, false, 1500, 10}}},
        {"expired", {aged(10 * kDay)}},
        {"expiredPair", {aged(10 * kDay), {4 * kDay, false, 600, 10}}},
        {"futureDated", {aged(-kDay), aged(-2 * kDay)}},
        {"tightSpace", {aged(10 * kDay)}, 50},
    };
}

} // namespace

const std::vector<StartingState>& startingStates()
{
    static const std::vector<StartingState> states = buildStates();
    return states;
}

ScriptConfig sweepConfig(int32_t script, bool launched)
{
    switch (script) {
    case 2:
    case 4:
    case 6:
        return {script, kDays, 0, 0};
    case 5:
        return {script, kDays, kQueueLength, launched ? kSweepQueueSize : 0};
    default:
        return {script, 0, 0, 0};
    }
}

std::string launchAnswers(int32_t script)
{
    switch (script) {
    case 2:
    case 4:
    case 6:
        return "3\n";
    case 5:
        return "3\n4\n";
    default:
        return "";
    }
}

void seedLibrary(FakeSnapshotLibrary& library, const StartingState& state,
                 const ScriptConfig& config, uint64_t now)
{
    library.setRootSize(kSweepRootSize);
    library.setVgFree(state.vgFree);
    const uint64_t ownSize = config.script == 5 ? kSweepQueueSize : kSweepRootSize;
    for (const SeedSnapshot& seed : state.snapshots) {
        const uint64_t created = seed.undated ? 0 : now - static_cast<uint64_t>(seed.ageSeconds);
        library.addSnapshot(created, seed.size == 0 ? ownSize : seed.size, seed.filling);
    }
}
