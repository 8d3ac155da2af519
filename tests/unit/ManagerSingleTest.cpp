// Scripts 1 and 3, and what scripts 2 and 4 inherit from them: launch, the one-snapshot check,
// the hook trigger and its additional snapshot.
#include "scripts/ManagerSingle.h"

#include "ScriptFixture.h"
#include "config/ConfigFile.h"
#include "config/ConfigPath.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr uint64_t kNow = FakeClock::kStart;
constexpr uint64_t kDay = FakeClock::kDay;
constexpr uint64_t kRoot = 1000; // the fake's root volume size

struct Seed {
    uint64_t created = kNow;
    uint64_t size = kRoot;
    uint64_t filling = 0;
};

void seed(FakeSnapshotLibrary& library, const std::vector<Seed>& seeds)
{
    for (const Seed& each : seeds) {
        library.addSnapshot(each.created, each.size, each.filling);
    }
}

// Scripts 2 and 4 get a lifetime that a snapshot made now has not reached: their check must then
// leave exactly what script 1's leaves.
ScriptConfig configFor(int32_t script)
{
    return ScriptConfig{script, script == 2 || script == 4 ? 3 : 0, 0, 0};
}

// ---- check: what each starting set of snapshots becomes, the same for scripts 1 to 4 ----------

struct CheckCase {
    std::string name;
    std::vector<Seed> seeds; // ids 1, 2, ... oldest first
    std::string failure;
    bool result;
    Calls mutations;
    std::vector<FakeSnapshot> after;
};

const FakeSnapshot kFirstFull = {1, kNow, kRoot, 0};
const FakeSnapshot kSecondFull = {2, kNow, kRoot, 0};
const Calls kReplaced = {"remove_lvm_snapshot(#1)", "create_lvm_snapshot(0)"};
const std::string kResized = "resize_lvm_snapshot(#1,1000)";
const Calls kSurplusRemoved = {"remove_lvm_snapshot(#2)", "remove_lvm_snapshot(#3)"};

// clang-format off
const std::vector<CheckCase> kCheckCases = {
    {"EmptyCreatesOneFullSized", {}, "", true, {"create_lvm_snapshot(0)"}, {kFirstFull}},
    {"EmptyRefusedCreatesNothing", {}, "refuse", false, {}, {}},
    {"EmptyFailedCreation", {}, "create_lvm_snapshot", false, {"create_lvm_snapshot(0)"}, {}},
    {"UsableFullSizedUntouched", {{}}, "", true, {}, {kFirstFull}},
    {"Filling99IsUsable", {{kNow, kRoot, 99}}, "", true, {}, {{1, kNow, kRoot, 99}}},
    {"Filling100Replaced", {{kNow, kRoot, 100}}, "", true, kReplaced, {kSecondFull}},
    {"UndatedReplaced", {{0, kRoot, 0}}, "", true, kReplaced, {kSecondFull}},
    {"LargerShrunkToRoot", {{kNow, 1500, 0}}, "", true, {kResized}, {kFirstFull}},
    {"SmallerGrownToRoot", {{kNow, 400, 0}}, "", true, {kResized}, {kFirstFull}},
    {"ThreeKeepOnlyTheOldest", {{kNow, 400, 0}, {}, {}}, "", true,
     concat(kSurplusRemoved, {kResized}), {kFirstFull}},
    {"FailedSurplusRemovalSparesTheFirst", {{0, kRoot, 0}, {}, {}}, "remove_lvm_snapshot#2", false,
     kSurplusRemoved, {{1, 0, kRoot, 0}, kSecondFull}},
    {"LastSurplusRemovalFailing", {{}, {}, {}}, "remove_lvm_snapshot#3", false, kSurplusRemoved,
     {kFirstFull, {3, kNow, kRoot, 0}}},
    {"ReplacementRemovalFailing", {{0, kRoot, 0}}, "remove_lvm_snapshot#1", false,
     {"remove_lvm_snapshot(#1)"}, {{1, 0, kRoot, 0}}},
    {"ReplacementRefusedLeavesNone", {{0, kRoot, 0}}, "refuse", false,
     {"remove_lvm_snapshot(#1)"}, {}},
    {"ReplacementCreationFailing", {{kNow, kRoot, 100}}, "create_lvm_snapshot", false, kReplaced,
     {}},
    {"ResizeFailing", {{kNow, 400, 0}}, "resize_lvm_snapshot", false, {kResized},
     {{1, kNow, 400, 0}}},
};
// clang-format on

using SingleCheck = ScriptCaseFixture<CheckCase>;

TEST_P(SingleCheck, LeavesOneUsableFullSizedSnapshot)
{
    const auto& [script, test] = GetParam();
    seed(library_, test.seeds);
    injectFailure(test.failure);

    EXPECT_EQ(manager(configFor(script)).check(), test.result);
    EXPECT_EQ(library_.mutations(), test.mutations);
    EXPECT_EQ(library_.snapshots(), test.after);
    if (!test.result) {
        // A failed one-snapshot check ends every script's check: no rotation is looked at.
        EXPECT_EQ(library_.count("existing_lvm_snapshots"), 1U);
    }
}

INSTANTIATE_TEST_SUITE_P(ScriptsOneToFour, SingleCheck,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4),
                                            ::testing::ValuesIn(kCheckCases)),
                         ScriptCaseName{});

// ---- check: the library calls in the order the decisions need them ----------------------------

struct OrderCase {
    std::string name;
    std::vector<Seed> seeds;
    Calls calls;
};

const Calls kReplacement = {"remove_lvm_snapshot(#1)", "can_create_lvm_snapshot(0)",
                            "create_lvm_snapshot(0)", "free_existing_lvm_snapshots"};
const Calls kUsableReads = {"lvm_snapshot_creation_time(#1)", "lvm_snapshot_filling_percent(#1)",
                            "root_volume_size", "lvm_snapshot_size(#1)"};

// clang-format off
const std::vector<OrderCase> kOrderCases = {
    {"UsableReadsTimeFillingRootThenSize", {{kNow, 400, 0}},
     concat(concat({"existing_lvm_snapshots"}, kUsableReads),
            {kResized, "free_existing_lvm_snapshots"})},
    {"UndatedFillingNeverRead", {{0, kRoot, 0}},
     concat({"existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)"}, kReplacement)},
    {"OverfilledReplacedAfterItsFillingIsRead", {{kNow, kRoot, 100}},
     concat({"existing_lvm_snapshots", "lvm_snapshot_creation_time(#1)",
             "lvm_snapshot_filling_percent(#1)"}, kReplacement)},
    {"SurplusRemovedBeforeTheFirstIsExamined", {{}, {}, {}},
     concat(concat({"existing_lvm_snapshots", "remove_lvm_snapshot(#2)", "remove_lvm_snapshot(#3)"},
                   kUsableReads), {"free_existing_lvm_snapshots"})},
};
// clang-format on

using SingleCheckOrder = ScriptCaseFixture<OrderCase>;

TEST_P(SingleCheckOrder, CallsTheLibraryInDecisionOrder)
{
    const auto& [script, test] = GetParam();
    seed(library_, test.seeds);

    EXPECT_TRUE(manager(configFor(script)).check());
    EXPECT_EQ(library_.calls(), test.calls);
}

INSTANTIATE_TEST_SUITE_P(ScriptsOneAndThree, SingleCheckOrder,
                         ::testing::Combine(::testing::Values(1, 3),
                                            ::testing::ValuesIn(kOrderCases)),
                         ScriptCaseName{});

// Opens the protected step to the one input no list can hand it.
class SingleProbe : public ManagerSingle {
public:
    using ManagerSingle::ensureFullSnapshot;
    using ManagerSingle::ManagerSingle;
};

using SingleScript = ScriptFixture;

TEST_F(SingleScript, EnsureFullSnapshotOfNullHandleFailsWithoutCallingTheLibrary)
{
    SingleProbe probe(makeConfig(1));
    EXPECT_FALSE(probe.ensureFullSnapshot(nullptr));
    EXPECT_TRUE(library_.calls().empty());
}

// ---- launch: purge, can_create(0), save + enable + start, create; scripts 1 to 4 share it ------

enum class LaunchFailure { None, Stop, Purge, CanCreate, Save, Enable, Start, Create };
enum class ConfigAfter { Saved, Untouched, Unwritable };

struct LaunchCase {
    std::string name;
    LaunchFailure failure;
    bool result;
    ConfigAfter config;
    bool active;
    bool enabled;
    Calls calls;
    size_t snapshotsAfter;
};

const Calls kPurge = {"existing_lvm_snapshots", "remove_lvm_snapshot(#1)",
                      "remove_lvm_snapshot(#2)", "free_existing_lvm_snapshots"};
const Calls kToCanCreate = concat(kPurge, {"can_create_lvm_snapshot(0)"});
const Calls kFullLaunch = concat(kToCanCreate, {"create_lvm_snapshot(0)"});

using enum LaunchFailure;
using enum ConfigAfter;

// clang-format off
const std::vector<LaunchCase> kLaunchCases = {
    //                              failure    result config      active enabled
    {"Succeeds",                    None,      true,  Saved,      true,  true,  kFullLaunch,  1},
    {"IgnoresAFailedStop",          Stop,      true,  Saved,      true,  true,  kFullLaunch,  1},
    {"FailedPurgeEndsTheLaunch",    Purge,     false, Untouched,  false, false, kPurge,       1},
    {"RefusedCreationSavesNothing", CanCreate, false, Untouched,  false, false, kToCanCreate, 0},
    {"FailedSaveStartsNoTimer",     Save,      false, Unwritable, false, false, kToCanCreate, 0},
    {"FailedEnableCreatesNothing",  Enable,    false, Saved,      false, false, kToCanCreate, 0},
    {"FailedStartCreatesNothing",   Start,     false, Saved,      false, true,  kToCanCreate, 0},
    {"FailedCreationKeepsTimerOn",  Create,    false, Saved,      true,  true,  kFullLaunch,  0},
};
// clang-format on

class Launch : public ScriptCaseFixture<LaunchCase> {
protected:
    void inject(LaunchFailure failure)
    {
        switch (failure) {
        case None:
            return;
        case Stop:
            return systemctl_.failVerb("stop");
        case Purge:
            return library_.failFor("remove_lvm_snapshot", 1);
        case CanCreate:
            return library_.setCanCreateAnswer(3);
        case Save:
            // Nothing can be renamed over a directory.
            std::filesystem::create_directory(configFilePath());
            return;
        case Enable:
            return systemctl_.failVerb("enable");
        case Start:
            return systemctl_.failVerb("start");
        case Create:
            return library_.failAlways("create_lvm_snapshot");
        }
    }
};

TEST_P(Launch, PurgesSavesStartsThenCreates)
{
    const auto& [script, test] = GetParam();
    const std::string previous = serializeConfig(makeConfig(5, 2, 3, 700));
    if (test.config != Unwritable) {
        writeConfigFile(previous);
    }
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);
    library_.addSnapshot(kNow - kDay, kRoot);
    library_.addSnapshot(kNow, 300);
    inject(test.failure);
    const ScriptConfig config = configFor(script);

    EXPECT_EQ(manager(config).launch(), test.result);
    EXPECT_EQ(library_.calls(), test.calls);
    EXPECT_EQ(library_.snapshots().size(), test.snapshotsAfter);
    if (test.result) {
        EXPECT_EQ(library_.snapshots(), (std::vector<FakeSnapshot>{{3, kNow, kRoot, 0}}));
    }
    EXPECT_EQ(systemctl_.active(), test.active);
    EXPECT_EQ(systemctl_.enabled(), test.enabled);
    if (test.config == Unwritable) {
        EXPECT_TRUE(std::filesystem::is_directory(configFilePath()));
        std::filesystem::remove(configFilePath());
    } else {
        EXPECT_EQ(readConfigFile(), test.config == Saved ? serializeConfig(config) : previous);
    }
}

INSTANTIATE_TEST_SUITE_P(ScriptsOneToFour, Launch,
                         ::testing::Combine(::testing::Values(1, 2, 3, 4),
                                            ::testing::ValuesIn(kLaunchCases)),
                         ScriptCaseName{});

TEST_F(SingleScript, LaunchStopsAndDisablesTheOldTimerBeforeStartingIt)
{
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);
    EXPECT_TRUE(manager(makeConfig(1)).launch());
    EXPECT_EQ(systemctl_.verbs(),
              (std::vector<std::string>{"is-active", "stop", "is-enabled", "disable", "is-active",
                                        "is-enabled", "enable", "start"}));
    // The old timer is stopped before the purge's list; the new one starts before the creation.
    const auto before = systemctl_.libraryCallsBefore();
    EXPECT_EQ(before.at(3), 0u);
    EXPECT_EQ(before.at(7), library_.callCount() - 1);
    EXPECT_EQ(library_.calls().back(), "create_lvm_snapshot(0)");
}

// ---- hook trigger of scripts 3 and 4: stop, check, then one additional snapshot ---------------

struct AdditionalCase {
    std::string name;
    uint64_t vgFree;
    uint64_t bootUsed;
    std::string failure;
    bool result;
    Calls tail; // after the check's last list was released
};

const Calls kSpaceReads = {"root_vg_free_space", "root_volume_size", "boot_partition_used_space"};

// The tail of a trigger that asks for a snapshot of `size` and makes it.
Calls madeOf(uint64_t size)
{
    const std::string text = "(" + std::to_string(size) + ")";
    return concat(kSpaceReads, {"can_create_lvm_snapshot" + text, "create_lvm_snapshot" + text});
}

// clang-format off
const std::vector<AdditionalCase> kAdditionalCases = {
    //                            free  boot used
    {"FreeAboveRootGivesRootSize", 5000, 100, "",                    true,  madeOf(1000)},
    {"FreeEqualToRoot",            1000, 100, "",                    true,  madeOf(1000)},
    {"FreeBelowRootGivesFree",     600,  100, "",                    true,  madeOf(600)},
    {"BootUsedIsNotSubtracted",    600,  599, "",                    true,  madeOf(600)},
    {"BootUsedEqualToFreeRefuses", 600,  600, "",                    false, kSpaceReads},
    {"BootUsedAboveFreeRefuses",   600,  601, "",                    false, kSpaceReads},
    {"RefusedCreation",            5000, 100, "refuse",              false,
     concat(kSpaceReads, {"can_create_lvm_snapshot(1000)"})},
    {"FailedCreation",             5000, 100, "create_lvm_snapshot", false, madeOf(1000)},
};
// clang-format on

using HookTrigger = ScriptCaseFixture<AdditionalCase>;

TEST_P(HookTrigger, StopsTheTimerAndAddsOneSnapshotSizedFromFreeSpace)
{
    const auto& [script, test] = GetParam();
    library_.setVgFree(test.vgFree);
    library_.setBootUsed(test.bootUsed);
    seed(library_, {{}});
    injectFailure(test.failure);
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);

    EXPECT_EQ(manager(configFor(script)).trigger(), test.result);
    EXPECT_EQ(callsAfterLastRelease(), test.tail);
    std::vector<FakeSnapshot> after = {kFirstFull};
    if (test.result) {
        after.push_back({2, kNow, std::min(test.vgFree, kRoot), 0});
    }
    EXPECT_EQ(library_.snapshots(), after);
    EXPECT_EQ(systemctl_.verbs(),
              (std::vector<std::string>{"is-active", "stop", "is-enabled", "disable"}));
    EXPECT_EQ(systemctl_.libraryCallsBefore().back(), 0u) << "the timer stops before the check";
    EXPECT_FALSE(systemctl_.active());
    EXPECT_FALSE(systemctl_.enabled());
}

INSTANTIATE_TEST_SUITE_P(ScriptsThreeAndFour, HookTrigger,
                         ::testing::Combine(::testing::Values(3, 4),
                                            ::testing::ValuesIn(kAdditionalCases)),
                         ScriptCaseName{});

using HookTriggerResult = ScriptParamFixture<int32_t>;

TEST_P(HookTriggerResult, IgnoresAFailedStop)
{
    library_.addSnapshot(kNow, kRoot);
    systemctl_.setActive(true);
    systemctl_.failVerb("stop");
    EXPECT_TRUE(manager(configFor(GetParam())).trigger());
    EXPECT_EQ(library_.snapshots().size(), 2U);
}

TEST_P(HookTriggerResult, AddsTheSnapshotEvenAfterAFailedCheck)
{
    library_.addSnapshot(kNow, kRoot);
    library_.addSnapshot(kNow, kRoot);
    library_.failFor("remove_lvm_snapshot", 2);

    EXPECT_TRUE(manager(configFor(GetParam())).trigger());
    EXPECT_EQ(library_.snapshots(),
              (std::vector<FakeSnapshot>{kFirstFull, kSecondFull, {3, kNow, kRoot, 0}}));
}

INSTANTIATE_TEST_SUITE_P(ScriptsThreeAndFour, HookTriggerResult, ::testing::Values(3, 4));

// ---- scripts without a trigger or parameter lines --------------------------------------------

using NoTrigger = ScriptParamFixture<int32_t>;

TEST_P(NoTrigger, TriggerSucceedsAndTouchesNothing)
{
    library_.addSnapshot(0, 400, 100);
    systemctl_.setActive(true);
    systemctl_.setEnabled(true);

    EXPECT_TRUE(manager(makeConfig(GetParam(), 3)).trigger());
    EXPECT_TRUE(library_.calls().empty());
    EXPECT_TRUE(systemctl_.lines().empty());
}

INSTANTIATE_TEST_SUITE_P(ScriptsOneAndTwo, NoTrigger, ::testing::Values(1, 2));

using NoInfo = ScriptParamFixture<int32_t>;

TEST_P(NoInfo, InfoWritesNothing)
{
    ScriptManagerBase& single = manager(makeConfig(GetParam(), 3, 4, 500));
    EXPECT_EQ(captureStdout([&single] { single.info(); }).text, "");
}

INSTANTIATE_TEST_SUITE_P(ScriptsOneAndThree, NoInfo, ::testing::Values(1, 3));

} // namespace
