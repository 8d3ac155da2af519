#pragma once

#include "fakes/FakeSnapshotLibrary.h"
#include "scripts/ScriptConfig.h"

#include <cstdint>
#include <string>
#include <vector>

// The snapshots a fault sweep starts from. Sizes of 0 stand for the script's own size (the root
// volume, or the queue's snapshot size for script 5), so one table serves every script.
inline constexpr uint64_t kSweepRootSize = 1000;
inline constexpr uint64_t kSweepQueueSize = 300;
inline constexpr uint64_t kSweepVgFree = 5000;

struct SeedSnapshot {
    int64_t ageSeconds = 0; // negative: dated in the future, as after the clock was set back
    bool undated = false;
    uint64_t size = 0;
    uint64_t filling = 0;
};

struct StartingState {
    std::string name;
    std::vector<SeedSnapshot> snapshots; // oldest first
    uint64_t vgFree = kSweepVgFree;
};

[[nodiscard]] const std::vector<StartingState>& startingStates();

// The record each script is launched with, checked or triggered under: lifetimes and periods of
// 3 days, a queue of 4 snapshots of kSweepQueueSize (the size only once launched).
[[nodiscard]] ScriptConfig sweepConfig(int32_t script, bool launched);

// What an administrator types at the launch questions to get sweepConfig(script, false).
[[nodiscard]] std::string launchAnswers(int32_t script);

// Gives the library the state's volume figures and snapshots, dated from `now`.
void seedLibrary(FakeSnapshotLibrary& library, const StartingState& state,
                 const ScriptConfig& config, uint64_t now);
