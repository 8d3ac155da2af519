// Scripts 2 and 4: the rotation of the one snapshot at the end of its lifetime, the lifetime line
// and script 4's trigger with a rotation due. What they share with script 1 is tested with it.
#include "ScriptFixture.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint64_t kNow = FakeClock::kStart;
constexpr uint64_t kDay = FakeClock::kDay;
constexpr uint64_t kRoot = 1000; // the fake's root volume size
constexpr uint64_t kExpiredAt = kNow - 3 * kDay;
// Late enough that a snapshot can be 50000 days old.
constexpr uint64_t kFarFuture = 5'000'000'000;
// Hand-edited lifetimes whose seconds overflow 32 bits, signed and unsigned.
constexpr uint64_t k30000Days = 30000 * kDay;
constexpr uint64_t k50000Days = 50000 * kDay;
constexpr int32_t kLowest = std::numeric_limits<int32_t>::min();
constexpr int32_t kHighest = std::numeric_limits<int32_t>::max();

class Rotated : public ScriptParamFixture<int32_t> {
protected:
    bool check(int32_t lifetime) { return manager(makeConfig(GetParam(), lifetime)).check(); }
};

INSTANTIATE_TEST_SUITE_P(ScriptsTwoAndFour, Rotated, ::testing::Values(2, 4));

// ---- when a rotation is due -------------------------------------------------------------------

struct AgeCase {
    std::string name;
    int32_t lifetime;
    uint64_t now;
    uint64_t created;
    bool rotates;
};

// clang-format off
const std::vector<AgeCase> kAgeCases = {
    //                                  lifetime  now         created
    {"AgeEqualToLifetimeRotates",         3,        kNow,       kExpiredAt,                 true},
    {"OneSecondShortDoesNot",             3,        kNow,       kExpiredAt + 1,             false},
    {"JustCreatedDoesNot",                1,        kNow,       kNow,                       false},
    {"FutureCreationTimeRotates",         3,        kNow,       kNow + 1,                   true},
    {"AncientRotates",                    7,        kNow,       1,                          true},
    {"LifetimeZeroNeverRotates",          0,        kNow,       1,                          false},
    {"LifetimeZeroIgnoresFutureTimes",    0,        kNow,       kNow + 1,                   false},
    {"NegativeLifetimeNeverRotates",      -1,       kNow,       1,                          false},
    {"LowestLifetimeNeverRotates",        kLowest,  kNow,       kNow + 1,                   false},
    {"Lifetime30000Reached",              30000,    kFarFuture, kFarFuture - k30000Days,    true},
    {"Lifetime30000NotYetReached",        30000,    kFarFuture, kFarFuture - k30000Days + 1, false},
    {"Lifetime50000Reached",              50000,    kFarFuture, kFarFuture - k50000Days,    true},
    {"Lifetime50000NotYetReached",        50000,    kFarFuture, kFarFuture - k50000Days + 1, false},
    {"HighestLifetimeNotReached",         kHighest, kFarFuture, 1,                          false},
};
// clang-format on

using RotationAge = ScriptCaseFixture<AgeCase>;

TEST_P(RotationAge, RotatesOnlyOnceTheLifetimeIsReached)
{
    const auto& [script, test] = GetParam();
    FakeClock::set(test.now);
    library_.addSnapshot(test.created, kRoot);

    EXPECT_TRUE(manager(makeConfig(script, test.lifetime)).check());
    if (test.rotates) {
        EXPECT_EQ(library_.mutations(),
                  (Calls{"create_lvm_snapshot(1000)", "remove_lvm_snapshot(#1)"}));
        EXPECT_EQ(library_.snapshots(), (std::vector<FakeSnapshot>{{2, test.now, kRoot, 0}}));
    } else {
        EXPECT_TRUE(library_.mutations().empty());
        EXPECT_EQ(library_.snapshots(), (std::vector<FakeSnapshot>{{1, test.created, kRoot, 0}}));
    }
}

INSTANTIATE_TEST_SUITE_P(ScriptsTwoAndFour, RotationAge,
                         ::testing::Combine(::testing::Values(2, 4),
                                            ::testing::ValuesIn(kAgeCases)),
                         ScriptCaseName{});

// ---- the rotation step by step ----------------------------------------------------------------

const Calls kSingleCheckOfUsable = {
    "existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)", "lvm_snapshot_filling_percent(#1)",
    "root_volume_size",       "lvm_snapshot_size(#1)",          "free_existing_lvm_snapshots"};

// clang-format off
const Calls kRotationWithResize = concat(kSingleCheckOfUsable, {
    "existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)",
    "root_vg_free_space", "root_volume_size", "boot_partition_used_space",
    "can_create_lvm_snapshot(600)", "create_lvm_snapshot(600)", "remove_lvm_snapshot(#1)",
    "free_existing_lvm_snapshots",
    "existing_lvm_snapshots", "lvm_snapshot_size(#2)", "root_volume_size",
    "resize_lvm_snapshot(#2,0)", "free_existing_lvm_snapshots"});
// clang-format on

TEST_P(Rotated, CheckWithoutRotationReadsTheCreationTimeFromAFreshList)
{
    library_.addSnapshot(kNow, kRoot);
    EXPECT_TRUE(check(3));
    EXPECT_EQ(library_.calls(), concat(kSingleCheckOfUsable,
                                       {"existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)",
                                        "free_existing_lvm_snapshots"}));
}

TEST_P(Rotated, RotationCreatesFirstRemovesThenGrowsTheNewOneFromAFreshList)
{
    library_.setVgFree(600);
    library_.addSnapshot(kExpiredAt, kRoot);

    EXPECT_TRUE(check(3));
    EXPECT_EQ(library_.calls(), kRotationWithResize);
    EXPECT_EQ(library_.snapshots(), (std::vector<FakeSnapshot>{{2, kNow, kRoot, 0}}));
}

TEST_P(Rotated, FullSizedNewSnapshotNeedsNoResize)
{
    library_.addSnapshot(kExpiredAt, kRoot);
    EXPECT_TRUE(check(3));
    EXPECT_EQ(callsFrom(kSingleCheckOfUsable.size() + 9),
              (Calls{"existing_lvm_snapshots", "lvm_snapshot_size(#2)", "root_volume_size",
                     "free_existing_lvm_snapshots"}));
}

// ---- what a failure at each step of the rotation leaves ---------------------------------------

struct RotationFailureCase {
    std::string name;
    uint64_t vgFree;
    uint64_t bootUsed;
    std::string failure;
    Calls mutations;
    std::vector<FakeSnapshot> after;
};

const FakeSnapshot kExpired = {1, kExpiredAt, kRoot, 0};

// clang-format off
const std::vector<RotationFailureCase> kRotationFailures = {
    {"NoRoomBesideTheBootPartition", 600, 600, "", {}, {kExpired}},
    {"RefusedCreation", 5000, 100, "refuse", {}, {kExpired}},
    {"FailedCreation", 5000, 100, "create_lvm_snapshot", {"create_lvm_snapshot(1000)"},
     {kExpired}},
    {"FailedRemovalLeavesBoth", 5000, 100, "remove_lvm_snapshot#1",
     {"create_lvm_snapshot(1000)", "remove_lvm_snapshot(#1)"}, {kExpired, {2, kNow, kRoot, 0}}},
    {"FailedResizeLeavesTheNewOneSmall", 600, 100, "resize_lvm_snapshot",
     {"create_lvm_snapshot(600)", "remove_lvm_snapshot(#1)", "resize_lvm_snapshot(#2,0)"},
     {{2, kNow, 600, 0}}},
};
// clang-format on

using RotationFailure = ScriptCaseFixture<RotationFailureCase>;

TEST_P(RotationFailure, ReturnsFalseAndRollsNothingBack)
{
    const auto& [script, test] = GetParam();
    library_.setVgFree(test.vgFree);
    library_.setBootUsed(test.bootUsed);
    library_.addSnapshot(kExpired.creationTime, kExpired.size);
    injectFailure(test.failure);

    EXPECT_FALSE(manager(makeConfig(script, 3)).check());
    EXPECT_EQ(library_.mutations(), test.mutations);
    EXPECT_EQ(library_.snapshots(), test.after);
}

INSTANTIATE_TEST_SUITE_P(ScriptsTwoAndFour, RotationFailure,
                         ::testing::Combine(::testing::Values(2, 4),
                                            ::testing::ValuesIn(kRotationFailures)),
                         ScriptCaseName{});

TEST_P(Rotated, NextCheckAfterAFailedRemovalKeepsTheOlderAndRotatesAgain)
{
    library_.addSnapshot(kExpiredAt, kRoot);
    library_.addSnapshot(kNow, kRoot);
    EXPECT_TRUE(check(3));
    EXPECT_EQ(library_.mutations(), (Calls{"remove_lvm_snapshot(#2)", "create_lvm_snapshot(1000)",
                                           "remove_lvm_snapshot(#1)"}));
    EXPECT_EQ(library_.ids(), (std::vector<uint64_t>{3}));
}

TEST_P(Rotated, ReplacedSnapshotStartsANewLifetime)
{
    library_.addSnapshot(kNow - 9 * kDay, kRoot, 100);
    EXPECT_TRUE(check(3));
    EXPECT_EQ(library_.mutations(), (Calls{"remove_lvm_snapshot(#1)", "create_lvm_snapshot(0)"}));
    EXPECT_EQ(library_.snapshots(), (std::vector<FakeSnapshot>{{2, kNow, kRoot, 0}}));
}

// ---- a library that lists nothing right after a snapshot was ensured --------------------------

TEST_P(Rotated, EmptyListAfterTheSingleCheckFails)
{
    // Every list comes back empty: the one-snapshot check creates a snapshot that the rotation
    // then cannot see.
    library_.failAlways("existing_lvm_snapshots");
    EXPECT_FALSE(check(3));
    EXPECT_EQ(library_.count("lvm_snapshot_"), 0U);
}

TEST_P(Rotated, EmptyListAfterTheRotationFails)
{
    library_.setVgFree(600);
    library_.addSnapshot(kExpiredAt, kRoot);
    const auto third = std::find(kRotationWithResize.begin() + 7, kRotationWithResize.end(),
                                 "existing_lvm_snapshots");
    library_.failNthCall(static_cast<size_t>(third - kRotationWithResize.begin()) + 1);

    EXPECT_FALSE(check(3));
    EXPECT_EQ(library_.mutations(), (Calls{"create_lvm_snapshot(600)", "remove_lvm_snapshot(#1)"}));
}

// ---- script 4's trigger and the lifetime line --------------------------------------------------

using RotatedScript = ScriptFixture;

TEST_F(RotatedScript, HookTriggerRotatesFirstThenAddsFromTheSpaceLeft)
{
    library_.setVgFree(600);
    library_.addSnapshot(kExpiredAt, kRoot);
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);

    EXPECT_TRUE(manager(makeConfig(4, 3)).trigger());
    EXPECT_EQ(library_.mutations(),
              (Calls{"create_lvm_snapshot(600)", "remove_lvm_snapshot(#1)",
                     "resize_lvm_snapshot(#2,0)", "create_lvm_snapshot(600)"}));
    EXPECT_EQ(library_.snapshots(),
              (std::vector<FakeSnapshot>{{2, kNow, kRoot, 0}, {3, kNow, 600, 0}}));
    EXPECT_FALSE(systemctl_.active());
    EXPECT_FALSE(systemctl_.enabled());
}

struct InfoCase {
    int32_t lifetime;
    std::string line;
};

using RotatedInfo = ScriptParamFixture<std::tuple<int32_t, InfoCase>>;

TEST_P(RotatedInfo, WritesTheLifetimeLineAndFlushes)
{
    const auto& [script, test] = GetParam();
    ScriptManagerBase& rotated = manager(makeConfig(script, test.lifetime));
    const CapturedStdout output = captureStdout([&rotated] { rotated.info(); });
    EXPECT_EQ(output.text, test.line);
    EXPECT_TRUE(output.flushed);
    EXPECT_TRUE(library_.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    ScriptsTwoAndFour, RotatedInfo,
    ::testing::Combine(::testing::Values(2, 4),
                       ::testing::Values(InfoCase{3, "Snapshot lifetime: 3 days\n"},
                                         InfoCase{1, "Snapshot lifetime: 1 days\n"},
                                         InfoCase{0, "Snapshot lifetime: unknown\n"},
                                         InfoCase{-2, "Snapshot lifetime: -2 days\n"},
                                         InfoCase{30000, "Snapshot lifetime: 30000 days\n"})));

} // namespace
