// Script 6: the pair of a full-sized and an additional snapshot, checked and rotated, and its
// info line.
#include "CallLog.h"
#include "ScriptFixture.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kDays = 2;
constexpr uint64_t kPeriod = uint64_t{kDays} * FakeClock::kDay;
constexpr uint64_t kRoot = 1000;      // the fake's root volume size
constexpr uint64_t kFree = 600;       // volume group free space of most rows
constexpr uint64_t kAdditional = 250; // size of a seeded additional snapshot
// Free space once a full-sized F is removed and A grown to full size: the next additional size.
constexpr uint64_t kAfterRotation = kFree + kRoot - (kRoot - kAdditional);

const auto sizeOf = [](uint64_t id) { return "lvm_snapshot_size(#" + std::to_string(id) + ")"; };

struct Seed {
    uint64_t creationTime;
    uint64_t size = kRoot;
    uint64_t filling = 10;
};

// The rotation every due pair of usable F (#1) and A (#2, kAdditional) goes through.
const std::vector<std::string> kRotation = {removed(1), resized(2, kRoot), created(kAfterRotation)};

struct DoubleRow {
    std::string name;
    std::vector<Seed> seeds{};
    bool result = true;
    std::vector<std::string> mutations{};
    std::vector<uint64_t> remaining{};
    int32_t lifetime = kDays;
    uint64_t vgFree = kFree;
    std::vector<std::pair<std::string, uint64_t>> failFor{};
    int32_t canCreateAnswer = 0;
    std::vector<std::string> calls{}; // the whole call log, where the order of reads matters
};

class DoubleCheck : public ScriptFixture, public testing::WithParamInterface<DoubleRow> {
protected:
    [[nodiscard]] bool checkRow(const DoubleRow& row)
    {
        library_.setVgFree(row.vgFree);
        for (const Seed& each : row.seeds) {
            library_.addSnapshot(each.creationTime, each.size, each.filling);
        }
        for (const auto& [function, id] : row.failFor) {
            library_.failFor(function, id);
        }
        library_.setCanCreateAnswer(row.canCreateAnswer);
        return manager(makeConfig(6, row.lifetime)).check();
    }
};

TEST_P(DoubleCheck, BringsThePairInOrder)
{
    const DoubleRow& row = GetParam();

    EXPECT_EQ(checkRow(row), row.result);
    EXPECT_EQ(library_.mutations(), row.mutations);
    EXPECT_EQ(library_.ids(), row.remaining);
    if (!row.calls.empty()) {
        EXPECT_EQ(library_.calls(), row.calls);
    }
}

INSTANTIATE_TEST_SUITE_P(
    States, DoubleCheck,
    testing::ValuesIn(std::vector<DoubleRow>{
        {.name = "NoSnapshotGetsAFullSizedOneAndNoAdditional",
         .mutations = {created(0)},
         .remaining = {1},
         .vgFree = 5000,
         .calls = {"existing_lvm_snapshots", "can_create_lvm_snapshot(0)", created(0),
                   "free_existing_lvm_snapshots"}},
        {.name = "NoSnapshotAndNoRoomCreatesNothing", .result = false, .canCreateAnswer = 1},
        {.name = "YoungFullSizedSnapshotIsLeftAlone",
         .seeds = {{ago(kPeriod - 1), kRoot, 99}},
         .remaining = {1},
         .calls = {"existing_lvm_snapshots", timeOf(1), fillingOf(1), "root_volume_size", sizeOf(1),
                   timeOf(1), "free_existing_lvm_snapshots"}},
        {.name = "SnapshotExactlyOnePeriodOldGetsAnAdditional",
         .seeds = {{ago(kPeriod)}},
         .mutations = {created(kFree)},
         .remaining = {1, 2}},
        {.name = "SnapshotFromTheFutureCountsAsExpired",
         .seeds = {{kNow + 100}},
         .mutations = {created(kFree)},
         .remaining = {1, 2}},
        {.name = "LifetimeZeroNeverAddsAnAdditional",
         .seeds = {{ago(100 * kPeriod)}},
         .remaining = {1},
         .lifetime = 0},
        {.name = "NegativeLifetimeNeverAddsAnAdditional",
         .seeds = {{ago(100 * kPeriod)}},
         .remaining = {1},
         .lifetime = -1},
        {.name = "FailedEnsureFullSnapshotAddsNothing",
         .seeds = {{ago(kPeriod), kRoot - 100}},
         .result = false,
         .mutations = {resized(1, kRoot)},
         .remaining = {1},
         .failFor = {{"resize_lvm_snapshot", 1}}},
        {.name = "PairExactlyOnePeriodApartIsRotated",
         .seeds = {{ago(kPeriod)}, {ago(0), kAdditional}},
         .mutations = kRotation,
         .remaining = {2, 3},
         .calls = {"existing_lvm_snapshots", timeOf(1), timeOf(2), fillingOf(1), fillingOf(2),
                   removed(1), timeOf(2), fillingOf(2), "root_volume_size", sizeOf(2),
                   resized(2, kRoot), "root_vg_free_space", "root_volume_size",
                   "boot_partition_used_space",
                   "can_create_lvm_snapshot(" + std::to_string(kAfterRotation) + ")",
                   created(kAfterRotation), "free_existing_lvm_snapshots"}},
        {.name = "PairOneSecondCloserWithAdditionalAt94IsKept",
         .seeds = {{ago(kPeriod - 1)}, {ago(0), kAdditional, 94}},
         .remaining = {1, 2},
         .calls = {"existing_lvm_snapshots", timeOf(1), timeOf(2), fillingOf(1), fillingOf(2),
                   fillingOf(2), "free_existing_lvm_snapshots"}},
        {.name = "PairWithAdditionalAt95IsRotated",
         .seeds = {{ago(kPeriod - 1)}, {ago(0), kAdditional, 95}},
         .mutations = kRotation,
         .remaining = {2, 3}},
        {.name = "AdditionalDatedBeforeFullSizedWrapsIntoARotation",
         .seeds = {{ago(0)}, {ago(10), kAdditional}},
         .mutations = kRotation,
         .remaining = {2, 3}},
        {.name = "LifetimeZeroSwitchesTheGapRuleOff",
         .seeds = {{ago(10 * kPeriod)}, {ago(0), kAdditional, 94}},
         .remaining = {1, 2},
         .lifetime = 0},
        {.name = "NegativeLifetimeSwitchesTheGapRuleOff",
         .seeds = {{ago(10 * kPeriod)}, {ago(0), kAdditional, 94}},
         .remaining = {1, 2},
         .lifetime = -1},
        {.name = "LifetimeZeroKeepsTheFillRule",
         .seeds = {{ago(10 * kPeriod)}, {ago(0), kAdditional, 95}},
         .mutations = kRotation,
         .remaining = {2, 3},
         .lifetime = 0},
        {.name = "ExhaustedFullSizedIsDroppedAndYoungAdditionalTakesItsPlace",
         .seeds = {{ago(kPeriod), kRoot, 100}, {ago(kPeriod - 1), kAdditional}},
         .mutations = {removed(1), resized(2, kRoot)},
         .remaining = {2}},
        {.name = "UndatedFullSizedIsDroppedAndOldAdditionalGetsASuccessor",
         .seeds = {{0}, {ago(kPeriod), kAdditional}},
         .mutations = kRotation,
         .remaining = {2, 3},
         .calls = {"existing_lvm_snapshots", timeOf(1), timeOf(2), removed(1), fillingOf(2),
                   "existing_lvm_snapshots", timeOf(2), fillingOf(2), "root_volume_size", sizeOf(2),
                   resized(2, kRoot), timeOf(2), "root_vg_free_space", "root_volume_size",
                   "boot_partition_used_space",
                   "can_create_lvm_snapshot(" + std::to_string(kAfterRotation) + ")",
                   created(kAfterRotation), "free_existing_lvm_snapshots",
                   "free_existing_lvm_snapshots"}},
        {.name = "UndatedAdditionalIsDroppedAndYoungFullSizedKept",
         .seeds = {{ago(kPeriod - 1)}, {0, kAdditional}},
         .mutations = {removed(2)},
         .remaining = {1},
         .calls = {"existing_lvm_snapshots", timeOf(1), timeOf(2), fillingOf(1), removed(2),
                   "existing_lvm_snapshots", timeOf(1), fillingOf(1), "root_volume_size", sizeOf(1),
                   timeOf(1), "free_existing_lvm_snapshots", "free_existing_lvm_snapshots"}},
        {.name = "ExhaustedAdditionalIsReplacedWhenFullSizedIsOld",
         .seeds = {{ago(kPeriod)}, {ago(0), kAdditional, 100}},
         .mutations = {removed(2), created(kFree + kAdditional)},
         .remaining = {1, 3}},
        {.name = "BothUnusableAreReplacedByOneFullSized",
         .seeds = {{ago(kPeriod), kRoot, 100}, {0, kAdditional}},
         .mutations = {removed(1), removed(2), created(0)},
         .remaining = {3}},
        {.name = "SurplusIsRemovedBeforeThePairIsJudged",
         .seeds = {{ago(kPeriod - 1)}, {ago(0), kAdditional, 94}, {ago(0), 100}},
         .mutations = {removed(3)},
         .remaining = {1, 2}},
        {.name = "FailedSurplusRemovalTriesTheRestAndLeavesThePair",
         .seeds = {{ago(kPeriod)}, {ago(0), kAdditional}, {ago(0), 100}, {ago(0), 100}},
         .result = false,
         .mutations = {removed(3), removed(4)},
         .remaining = {1, 2, 3},
         .failFor = {{"remove_lvm_snapshot", 3}},
         .calls = {"existing_lvm_snapshots", removed(3), removed(4),
                   "free_existing_lvm_snapshots"}},
        {.name = "FailedRemovalOfRotatedFullSizedEndsTheCheck",
         .seeds = {{ago(kPeriod)}, {ago(0), kAdditional}},
         .result = false,
         .mutations = {removed(1)},
         .remaining = {1, 2},
         .failFor = {{"remove_lvm_snapshot", 1}}},
        {.name = "FailedGrowthOfRotatedAdditionalCreatesNothing",
         .seeds = {{ago(kPeriod)}, {ago(0), kAdditional}},
         .result = false,
         .mutations = {removed(1), resized(2, kRoot)},
         .remaining = {2},
         .failFor = {{"resize_lvm_snapshot", 2}}},
        {.name = "FailedRemovalOfExhaustedFullSizedEndsTheCheck",
         .seeds = {{ago(kPeriod), kRoot, 100}, {ago(0), kAdditional}},
         .result = false,
         .mutations = {removed(1)},
         .remaining = {1, 2},
         .failFor = {{"remove_lvm_snapshot", 1}}},
        {.name = "FailedRemovalOfExhaustedAdditionalEndsTheCheck",
         .seeds = {{ago(kPeriod)}, {ago(0), kAdditional, 100}},
         .result = false,
         .mutations = {removed(2)},
         .remaining = {1, 2},
         .failFor = {{"remove_lvm_snapshot", 2}}},
    }),
    [](const testing::TestParamInfo<DoubleRow>& row) { return row.param.name; });

using DoubleScript = ScriptFixture;

// The replaced single snapshot's handle still sits in the held list; the library answers 0
// for its creation time, so this check fails and the next one starts from the new snapshot.
TEST_F(DoubleScript, CheckAfterReplacingTheOnlySnapshotFailsOnceThenProceeds)
{
    library_.setVgFree(kFree);
    library_.addSnapshot(ago(kPeriod), kRoot, 100);

    EXPECT_FALSE(manager(makeConfig(6, kDays)).check());
    const Calls expected = {
        "existing_lvm_snapshots",     timeOf(1),  fillingOf(1), removed(1),
        "can_create_lvm_snapshot(0)", created(0), timeOf(1),    "free_existing_lvm_snapshots"};
    EXPECT_EQ(library_.calls(), expected);
    EXPECT_EQ(library_.ids(), std::vector<uint64_t>{2});

    const size_t before = library_.callCount();
    EXPECT_TRUE(manager(makeConfig(6, kDays)).check());
    EXPECT_EQ(callsFrom(before),
              (Calls{"existing_lvm_snapshots", timeOf(2), fillingOf(2), "root_volume_size",
                     sizeOf(2), timeOf(2), "free_existing_lvm_snapshots"}));
}

struct InfoExample {
    int32_t lifetime;
    std::string text;
};

class DoubleInfo : public ScriptFixture, public testing::WithParamInterface<InfoExample> {};

TEST_P(DoubleInfo, WritesTheRotationPeriodAsStored)
{
    ScriptManagerBase& pair = manager(makeConfig(6, GetParam().lifetime, 4, 300));

    const CapturedOutput output = captureStdout([&pair] { pair.info(); });

    EXPECT_EQ(output.text, GetParam().text);
    EXPECT_TRUE(output.flushed);
    EXPECT_EQ(library_.callCount(), 0U);
}

INSTANTIATE_TEST_SUITE_P(Lines, DoubleInfo,
                         testing::Values(InfoExample{2, "Snapshots rotation period: 2 days\n"},
                                         InfoExample{0, "Snapshots rotation period: unknown\n"},
                                         InfoExample{-1, "Snapshots rotation period: -1 days\n"}));

TEST_F(DoubleScript, TriggerSucceedsAndTouchesNothing)
{
    library_.addSnapshot(ago(kPeriod), kRoot, 100);
    systemctl_.setActive(true);

    EXPECT_TRUE(manager(makeConfig(6, kDays)).trigger());
    EXPECT_EQ(library_.callCount(), 0U);
    EXPECT_TRUE(systemctl_.lines().empty());
}

} // namespace
