// Script 5: the queue's size arithmetic at launch, the repairs and the rotation of check, the
// refusal of parameters no prompt could give, and the two info lines.
#include "CallLog.h"
#include "ScriptFixture.h"
#include "config/ConfigFile.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t kDays = 3;
constexpr uint64_t kPeriod = uint64_t{kDays} * FakeClock::kDay;
constexpr int32_t kQuantity = 4;
constexpr uint64_t kSize = 300;

struct Seed {
    uint64_t creationTime;
    uint64_t size = kSize;
    uint64_t filling = 0;
};

// `count` snapshots one period apart, the newest `newestAge` old.
std::vector<Seed> spaced(uint64_t count, uint64_t newestAge)
{
    std::vector<Seed> seeds;
    for (uint64_t older = count; older-- > 0;) {
        seeds.push_back({ago(newestAge + older * kPeriod)});
    }
    return seeds;
}

ScriptConfig queueConfig(int32_t lifetime = kDays, int32_t quantity = kQuantity,
                         uint64_t size = kSize)
{
    return ScriptConfig{5, lifetime, quantity, size};
}

class QueueTest : public ScriptFixture {
protected:
    void seed(const std::vector<Seed>& seeds)
    {
        for (const Seed& each : seeds) {
            library_.addSnapshot(each.creationTime, each.size, each.filling);
        }
    }

    [[nodiscard]] bool check(const ScriptConfig& config) { return manager(config).check(); }
};

// One check on a seeded queue: its result, the changes in the order made, the snapshots left.
struct QueueRow {
    std::string name;
    std::vector<Seed> seeds{};
    bool result = true;
    std::vector<std::string> mutations{};
    std::vector<uint64_t> remaining{};
    int32_t quantity = kQuantity;
    std::vector<std::pair<std::string, uint64_t>> failFor{};
    std::vector<std::string> failAlways{};
    int32_t canCreateAnswer = 0;
};

class QueueCheck : public QueueTest, public testing::WithParamInterface<QueueRow> {};

TEST_P(QueueCheck, ChangesTheQueueAsTheRulesSay)
{
    const QueueRow& row = GetParam();
    seed(row.seeds);
    for (const auto& [function, id] : row.failFor) {
        library_.failFor(function, id);
    }
    for (const std::string& function : row.failAlways) {
        library_.failAlways(function);
    }
    library_.setCanCreateAnswer(row.canCreateAnswer);

    EXPECT_EQ(check(queueConfig(kDays, row.quantity)), row.result);
    EXPECT_EQ(library_.mutations(), row.mutations);
    EXPECT_EQ(library_.ids(), row.remaining);
}

constexpr uint64_t kHalf = kPeriod / 2;
const std::vector<Seed> kFullQueueDue = spaced(kQuantity, kPeriod);

INSTANTIATE_TEST_SUITE_P(
    States, QueueCheck,
    testing::ValuesIn(std::vector<QueueRow>{
        {.name = "EmptyQueueGetsItsFirstSnapshot", .mutations = {created(kSize)}, .remaining = {1}},
        {.name = "YoungSnapshotIsLeftAlone",
         .seeds = {{ago(kPeriod - 1), kSize, 94}},
         .remaining = {1}},
        {.name = "NewestExactlyOnePeriodOldIsRotated",
         .seeds = {{ago(kPeriod)}},
         .mutations = {created(kSize)},
         .remaining = {1, 2}},
        {.name = "CreationTimeInTheFutureCountsAsExpired",
         .seeds = {{kNow + 100}},
         .mutations = {created(kSize)},
         .remaining = {1, 2}},
        {.name = "UndatedSnapshotsAreRemovedWhateverTheirState",
         .seeds = {{0, kSize, 0}, {ago(kPeriod - 1)}, {0, 200, 100}},
         .mutations = {removed(1), removed(3)},
         .remaining = {2}},
        {.name = "CloseSnapshotIsDroppedAndTheNextMeasuredFromTheKeptOne",
         .seeds = {{ago(2 * kPeriod)}, {ago(2 * kPeriod - kHalf)}, {ago(kPeriod * 8 / 10)}},
         .mutations = {removed(2)},
         .remaining = {1, 3}},
        {.name = "SnapshotsExactlyOnePeriodApartAreKept",
         .seeds = {{ago(kPeriod)}, {ago(0)}},
         .remaining = {1, 2}},
        {.name = "SnapshotOneSecondTooCloseIsRemoved",
         .seeds = {{ago(kPeriod - 1)}, {ago(0)}},
         .mutations = {removed(2)},
         .remaining = {1}},
        {.name = "LaterEntryDatedBeforeItsPredecessorIsNotTooClose",
         .seeds = {{ago(kHalf)}, {ago(kPeriod - 1)}},
         .remaining = {1, 2}},
        {.name = "OldestBeyondQuantityAreTrimmed",
         .seeds = spaced(6, kHalf),
         .mutations = {removed(1), removed(2)},
         .remaining = {3, 4, 5, 6}},
        {.name = "OnlyWrongSizedSnapshotsAreResizedBothWays",
         .seeds = {{ago(2 * kPeriod), kSize - 1}, {ago(kPeriod)}, {ago(0), kSize + 1}},
         .mutations = {resized(1, kSize), resized(3, kSize)},
         .remaining = {1, 2, 3}},
        {.name = "OverfilledAt95IsRemovedAt94Kept",
         .seeds = {{ago(kPeriod), kSize, 95}, {ago(0), kSize, 94}},
         .mutations = {removed(1)},
         .remaining = {2}},
        {.name = "AgeTestUsesTheEntryLastAfterOverfilledNewestIsGone",
         .seeds = {{ago(kPeriod + kHalf), kSize, 94}, {ago(kHalf), kSize, 95}},
         .mutations = {removed(2), created(kSize)},
         .remaining = {1, 3}},
        {.name = "FullQueueDropsItsOldestBeforeRotating",
         .seeds = kFullQueueDue,
         .mutations = {removed(1), created(kSize)},
         .remaining = {2, 3, 4, 5}},
        {.name = "QueueBelowQuantityOnlyGrows",
         .seeds = spaced(kQuantity - 1, kPeriod),
         .mutations = {created(kSize)},
         .remaining = {1, 2, 3, 4}},
        {.name = "FailedUndatedRemovalTriesTheRestThenEndsCheck",
         .seeds = {{0}, {ago(kPeriod), 200}, {0}},
         .result = false,
         .mutations = {removed(1), removed(3)},
         .remaining = {1, 2},
         .failFor = {{"remove_lvm_snapshot", 1}}},
        {.name = "FailedCloseRemovalEndsCheckAtOnce",
         .seeds = {{ago(kPeriod)}, {ago(kPeriod - 10)}, {ago(kPeriod - 20), 200}},
         .result = false,
         .mutations = {removed(2)},
         .remaining = {1, 2, 3},
         .failFor = {{"remove_lvm_snapshot", 2}}},
        {.name = "FailedTrimRemovalTriesTheRestThenEndsCheck",
         .seeds = {{ago(3 * kPeriod + kHalf)},
                   {ago(2 * kPeriod + kHalf)},
                   {ago(kPeriod + kHalf)},
                   {ago(kHalf), 200}},
         .result = false,
         .mutations = {removed(1), removed(2)},
         .remaining = {1, 3, 4},
         .quantity = 2,
         .failFor = {{"remove_lvm_snapshot", 1}}},
        {.name = "FailedResizeTriesTheRestThenEndsCheck",
         .seeds = {{ago(2 * kPeriod), 200}, {ago(kPeriod), 400}},
         .result = false,
         .mutations = {resized(1, kSize), resized(2, kSize)},
         .remaining = {1, 2},
         .failFor = {{"resize_lvm_snapshot", 1}}},
        {.name = "FailedOverfilledRemovalTriesTheRestThenEndsCheck",
         .seeds = {{ago(2 * kPeriod), kSize, 95}, {ago(kPeriod), kSize, 99}},
         .result = false,
         .mutations = {removed(1), removed(2)},
         .remaining = {1},
         .failFor = {{"remove_lvm_snapshot", 1}}},
        {.name = "FailedRemovalOfTheOldestCreatesNothing",
         .seeds = kFullQueueDue,
         .result = false,
         .mutations = {removed(1)},
         .remaining = {1, 2, 3, 4},
         .failFor = {{"remove_lvm_snapshot", 1}}},
        {.name = "RefusedCreationLeavesTheQueueShort",
         .seeds = kFullQueueDue,
         .result = false,
         .mutations = {removed(1)},
         .remaining = {2, 3, 4},
         .canCreateAnswer = 3},
        {.name = "FailedCreationIsFalse",
         .result = false,
         .mutations = {created(kSize)},
         .failAlways = {"create_lvm_snapshot"}},
    }),
    [](const testing::TestParamInfo<QueueRow>& row) { return row.param.name; });

using QueueCheckOrder = QueueTest;

// Each step reads through a list of its own, released before the next step starts.
TEST_F(QueueCheckOrder, EveryStepTakesAndReleasesItsOwnList)
{
    seed({{ago(2 * kPeriod)}, {ago(kPeriod)}});

    EXPECT_TRUE(check(queueConfig()));

    const std::vector<std::string> expected = {
        "existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)",
        "lvm_snapshot_creation_time(#2)", "free_existing_lvm_snapshots",
        // too close
        "existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)",
        "lvm_snapshot_creation_time(#2)", "free_existing_lvm_snapshots",
        // beyond quantity
        "existing_lvm_snapshots", "free_existing_lvm_snapshots",
        // sizes
        "existing_lvm_snapshots", "lvm_snapshot_size(#1)", "lvm_snapshot_size(#2)",
        "free_existing_lvm_snapshots",
        // overfilled
        "existing_lvm_snapshots", "lvm_snapshot_filling_percent(#1)",
        "lvm_snapshot_filling_percent(#2)", "free_existing_lvm_snapshots",
        // rotation
        "existing_lvm_snapshots", "lvm_snapshot_creation_time(#2)", "free_existing_lvm_snapshots",
        "can_create_lvm_snapshot(300)", "create_lvm_snapshot(300)",
        // a last count against the quantity
        "existing_lvm_snapshots", "free_existing_lvm_snapshots"};
    EXPECT_EQ(library_.calls(), expected);
}

TEST_F(QueueCheckOrder, ClosePairWalkStartsAgainOnAFreshListAfterEachRemoval)
{
    seed({{ago(kPeriod - 1)}, {ago(kPeriod - 2)}, {ago(kPeriod - 3)}});

    EXPECT_TRUE(check(queueConfig()));

    // A walk that went on over the held list would meet the removed #2, read its creation
    // time as 0 and keep #3 for its huge gap.
    EXPECT_EQ(library_.mutations(), (std::vector<std::string>{removed(2), removed(3)}));
    // One list for the undated ones, three for the close pairs, one for each later step and
    // one for the last count.
    EXPECT_EQ(library_.count("existing_lvm_snapshots"), 9U);
}

// A period beyond the 32-bit range must not wrap into a negative, never-reached one.
// A listing that fails looks like an empty queue to the trimming step; the check must not then
// report success with more than `quantity` snapshots.
TEST_F(QueueCheckOrder, ListingThatFailsDuringTrimmingIsNoSuccessWithTooManySnapshots)
{
    seed({{ago(5 * kPeriod)},
          {ago(4 * kPeriod)},
          {ago(3 * kPeriod)},
          {ago(2 * kPeriod)},
          {ago(kPeriod / 2)}});
    // 7 calls walk the undated ones, 10 the close pairs; the 18th is the trimming's listing.
    library_.failNthCall(18);
    EXPECT_FALSE(check(queueConfig()));
    EXPECT_EQ(library_.calls().at(17), "existing_lvm_snapshots");
    EXPECT_EQ(library_.mutations(), std::vector<std::string>{});
}

TEST_F(QueueCheckOrder, PeriodOfALongLifetimeIsComputedIn64Bits)
{
    constexpr int32_t kLongDays = 30000;
    constexpr uint64_t kLongPeriod = uint64_t{kLongDays} * FakeClock::kDay;
    FakeClock::set(4'000'000'000);
    library_.addSnapshot(4'000'000'000 - kLongPeriod + 1, kSize);

    EXPECT_TRUE(check(queueConfig(kLongDays)));
    EXPECT_EQ(library_.count("create_lvm_snapshot"), 0U);

    FakeClock::advance(1);
    EXPECT_TRUE(check(queueConfig(kLongDays)));
    EXPECT_EQ(library_.mutations(), std::vector<std::string>{created(kSize)});
}

// Only a hand-edited file holds such values; the check refuses them and changes nothing.
struct Unprompted {
    int32_t lifetime;
    int32_t quantity;
};

class QueueCheckRefuses : public QueueTest, public testing::WithParamInterface<Unprompted> {};

TEST_P(QueueCheckRefuses, ParametersNoPromptGivesWithoutTouchingASnapshot)
{
    seed({{0}, {ago(2 * kPeriod), 200, 99}, {ago(kPeriod + 1), 200, 100}});

    EXPECT_FALSE(check(queueConfig(GetParam().lifetime, GetParam().quantity)));
    EXPECT_TRUE(library_.mutations().empty());
    EXPECT_EQ(library_.ids(), (std::vector<uint64_t>{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, QueueCheckRefuses,
                         testing::Values(Unprompted{kDays, 0}, Unprompted{kDays, -1},
                                         Unprompted{0, kQuantity}, Unprompted{-1, kQuantity}));

TEST_F(QueueCheckOrder, ConfigurationWithoutSizeResizesAndCreatesWithZero)
{
    const ScriptConfig config = parseConfig(R"({"script":5,"lifetime":3,"quantity":4})");
    ASSERT_EQ(config, queueConfig(kDays, kQuantity, 0));
    seed({{ago(kPeriod)}});

    EXPECT_TRUE(check(config));

    EXPECT_EQ(library_.mutations(), (std::vector<std::string>{resized(1, 0), created(0)}));
}

// Launch purges, fixes the size from the free space and saves it before the first creation.
class QueueLaunch : public QueueTest {
protected:
    [[nodiscard]] bool launch(int32_t quantity = kQuantity)
    {
        return manager(queueConfig(kDays, quantity, 0)).launch();
    }

    [[nodiscard]] static ScriptConfig saved() { return parseConfig(readConfigFile()); }

    void expectTimer(bool running) const
    {
        EXPECT_EQ(systemctl_.active(), running);
        EXPECT_EQ(systemctl_.enabled(), running);
    }
};

struct SizeExample {
    uint64_t freeSpace;
    int32_t quantity;
    uint64_t size;
};

class QueueLaunchSize : public QueueLaunch, public testing::WithParamInterface<SizeExample> {};

TEST_P(QueueLaunchSize, TakesTheShareOfFreeSpaceTimesTheDoubleNearest099)
{
    const auto [freeSpace, quantity, size] = GetParam();
    library_.setVgFree(freeSpace);
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);

    EXPECT_TRUE(launch(quantity));

    const std::vector<std::string> expected = {
        "existing_lvm_snapshots", "free_existing_lvm_snapshots", "root_vg_free_space",
        "can_create_lvm_snapshot(" + std::to_string(size) + ")", created(size)};
    EXPECT_EQ(library_.calls(), expected);
    EXPECT_EQ(saved(), queueConfig(kDays, quantity, size));
    expectTimer(true);
}

// 2^53 + 1 loses its last bit as a double: exact or long-double arithmetic gives ...583.
INSTANTIATE_TEST_SUITE_P(
    Examples, QueueLaunchSize,
    testing::Values(SizeExample{1000, 4, 247}, SizeExample{1'000'000'000'000, 3, 329'999'999'999},
                    SizeExample{(uint64_t{1} << 54) + 2, 2, 8'917'127'262'193'582}));

TEST_F(QueueLaunch, ReadsTheFreeSpaceAfterThePurge)
{
    library_.setVgFree(700);
    library_.addSnapshot(ago(1), 300);

    EXPECT_TRUE(launch());

    EXPECT_EQ(library_.mutations(), (std::vector<std::string>{removed(1), created(247)}));
    EXPECT_EQ(saved().snapshotSize, 247U);
}

TEST_F(QueueLaunch, SavesTheSizeAndStartsTheTimerBeforeCreating)
{
    library_.setVgFree(1000);
    library_.failAlways("create_lvm_snapshot");

    EXPECT_FALSE(launch());

    EXPECT_EQ(saved(), queueConfig(kDays, kQuantity, 247));
    expectTimer(true);
}

TEST_F(QueueLaunch, RefusedSizeLeavesNoSnapshotAStoppedTimerAndTheOldFile)
{
    writeConfigFile("old\n");
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);
    library_.addSnapshot(ago(1), 300);
    library_.setCanCreateAnswer(1);

    EXPECT_FALSE(launch());

    EXPECT_EQ(library_.count("create_lvm_snapshot"), 0U);
    EXPECT_TRUE(library_.ids().empty());
    EXPECT_EQ(readConfigFile(), "old\n");
    expectTimer(false);
}

TEST_F(QueueLaunch, FailedPurgeEndsBeforeReadingTheFreeSpace)
{
    writeConfigFile("old\n");
    library_.addSnapshot(ago(1), 300);
    library_.failFor("remove_lvm_snapshot", 1);

    EXPECT_FALSE(launch());

    EXPECT_EQ(library_.count("root_vg_free_space"), 0U);
    EXPECT_EQ(library_.count("can_create_lvm_snapshot"), 0U);
    EXPECT_EQ(readConfigFile(), "old\n");
}

TEST_F(QueueLaunch, FailedTimerStartCreatesNothing)
{
    systemctl_.failVerb("start");

    EXPECT_FALSE(launch());

    EXPECT_EQ(library_.count("create_lvm_snapshot"), 0U);
}

struct InfoExample {
    int32_t lifetime;
    int32_t quantity;
    std::string text;
};

class QueueInfo : public QueueTest, public testing::WithParamInterface<InfoExample> {};

TEST_P(QueueInfo, WritesPeriodAndQuantityAsStored)
{
    ScriptManagerBase& queue = manager(queueConfig(GetParam().lifetime, GetParam().quantity));

    const CapturedOutput output = captureStdout([&queue] { queue.info(); });

    EXPECT_EQ(output.text, GetParam().text);
    EXPECT_TRUE(output.flushed);
    EXPECT_EQ(library_.callCount(), 0U);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, QueueInfo,
    testing::Values(
        InfoExample{3, 4, "Snapshots rotation period: 3 days\nNumber of snapshots in a queue: 4\n"},
        InfoExample{0, 4,
                    "Snapshots rotation period: unknown\nNumber of snapshots in a queue: 4\n"},
        InfoExample{3, 0,
                    "Snapshots rotation period: 3 days\nNumber of snapshots in a queue: unknown\n"},
        InfoExample{-1, -2,
                    "Snapshots rotation period: -1 days\nNumber of snapshots in a queue: -2\n"}));

TEST_F(QueueCheckOrder, TriggerSucceedsAndTouchesNothing)
{
    seed({{0}, {ago(kPeriod)}});
    EXPECT_TRUE(manager(queueConfig()).trigger());
    EXPECT_EQ(library_.callCount(), 0U);
    EXPECT_TRUE(systemctl_.lines().empty());
}

} // namespace
