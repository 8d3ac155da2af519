// SPDX-License-Identifier: GPL-2.0-or-later
// The six scripts as state tables on the simulated library: the snapshots before, one
// operation, the snapshots after ("id:size"; new snapshots get ids from 10 on).
// Then the same rows with a failure injected at every library function and every systemctl
// verb, judged only by promises that hold whatever the rules are.
#include "World.h"
#include "config/ConfigFile.h"
#include "norvasnapshots_functions.h"
#include "scripts/ScriptManagerBase.h"
#include "scripts/ScriptTable.h"

#include <algorithm>
#include <memory>

namespace {

constexpr uint64_t P3 = 3 * kDay; // the queue's period in these rows
const ScriptConfig S1{1, 0, 0, 0}, S2{2, 2, 0, 0}, S3{3, 0, 0, 0}, S4{4, 2, 0, 0}, S5{5, 3, 4, 300},
    S6{6, 1, 0, 0};

// What a row asks of its script's manager.
using Op = bool (ScriptManagerBase::*)();
constexpr Op kCheck = &ScriptManagerBase::check;
constexpr Op kLaunch = &ScriptManagerBase::launch;
constexpr Op kTrigger = &ScriptManagerBase::trigger;

struct Row {
    const char* what;
    ScriptConfig config;
    std::vector<Snap> before;
    std::string more; // further state lines: failures, vg_free, boot_used
    bool result;
    std::string after;
    Op op = kCheck;
    std::optional<ScriptConfig> saved = {}; // launches: the configuration saved, if any
    std::string timerAfter = "ae";          // launches and triggers: the timer after
    std::string timerBefore = "ae";
};

// clang-format off
const std::vector<Row> kRows = {
    {"1: none: one full-sized is made", S1, {}, "", true, "10:1000"},
    {"1: none and no room: none is made", S1, {}, "vg_free 999", false, ""},
    {"1: the surplus after the first goes, then it grows", S1, {{1, 90, 500}, {2, 60}, {3, 30}}, "",
     true, "1:1000"},
    {"1: 99 % full is usable", S1, {{1, 90, kRoot, 99}}, "", true, "1:1000"},
    {"1: 100 % full is replaced", S1, {{1, 90, kRoot, 100}}, "", true, "10:1000"},
    {"1: an undated one is replaced", S1, {{1, kUndated}}, "", true, "10:1000"},
    {"1: replaced without room: gone", S1, {{1, 90, 500, 100}}, "vg_free 0", false, ""},
    {"3: checks as script 1", S3, {{1, 90}, {2, 60}}, "", true, "1:1000"},
    {"2: younger than its lifetime: kept", S2, {{1, 2 * kDay - 1}}, "", true, "1:1000"},
    {"2: a lifetime old: a new one, then the old goes", S2, {{1, 2 * kDay}}, "", true, "10:1000"},
    {"2: in a small VG the new one grows once the old went", S2, {{1, 2 * kDay}}, "vg_free 700",
     true, "10:1000"},
    {"2: /boot uses all the free space: no rotation", S2, {{1, 2 * kDay}}, "vg_free 100", false,
     "1:1000"},
    {"2: lifetime 0: never rotated", {2, 0, 0, 0}, {{1, 99 * kDay}}, "", true, "1:1000"},
    {"2: 49711 days outlast any age", {2, 49711, 0, 0}, {{1, kDay}}, "", true, "1:1000"},
    {"2: made in the future: rotated", S2, {{1, 0 - kDay}}, "", true, "10:1000"},
    {"4: script 1's rules first", S4, {{1, kDay}, {2, 10}}, "", true, "1:1000"},
    {"5: empty: one of the saved size", S5, {}, "", true, "10:300"},
    {"5: young and right: nothing", S5, {{1, P3 - 1, 300}}, "", true, "1:300"},
    {"5: the newest a period old: one more", S5, {{1, P3, 300}}, "", true, "1:300 10:300"},
    {"5: a period apart: both kept", S5, {{1, P3 + 100, 300}, {2, 100, 300}}, "", true,
     "1:300 2:300"},
    {"5: a second closer: the newer goes", S5, {{1, P3 + 99, 300}, {2, 100, 300}}, "", true,
     "1:300 10:300"},
    {"5: at 0, 0.5 and 1.2 periods the middle goes", S5,
     {{1, P3 * 12 / 10 + 60, 300}, {2, P3 * 7 / 10 + 60, 300}, {3, 60, 300}}, "", true,
     "1:300 3:300"},
    {"5: full and due: the oldest goes, then a new one", S5,
     {{1, 4 * P3, 300}, {2, 3 * P3, 300}, {3, 2 * P3, 300}, {4, P3, 300}}, "", true,
     "2:300 3:300 4:300 10:300"},
    {"5: not full and due: none goes", S5, {{1, 3 * P3, 300}, {2, 2 * P3, 300}, {3, P3, 300}}, "",
     true, "1:300 2:300 3:300 10:300"},
    {"5: six for four: the two oldest go", S5,
     {{1, 5 * P3 + 9, 300}, {2, 4 * P3 + 9, 300}, {3, 3 * P3 + 9, 300}, {4, 2 * P3 + 9, 300}, {5, P3 + 9, 300}, {6, 9, 300}},
     "", true, "3:300 4:300 5:300 6:300"},
    {"5: 95 % goes, 94 % stays, and the age test takes the new newest", S5,
     {{1, P3 + 10, 300, 94}, {2, 10, 300, 95}}, "", true, "1:300 10:300"},
    {"5: a wrong size is put right", S5, {{1, P3 + 10, 250}, {2, 10, 320}}, "", true,
     "1:300 2:300"},
    {"5: an undated one goes first", S5, {{1, kUndated, 300}, {2, 10, 250}}, "", true, "2:300"},
    {"5: quantity 0 is refused untouched", {5, 3, 0, 300}, {{1, 10, 250}}, "", false, "1:250"},
    {"5: period 0 is refused untouched", {5, 0, 4, 300}, {{1, 10, 250}}, "", false, "1:250"},
    {"5: no saved size: full-sized", {5, 3, 4, 0}, {}, "", true, "10:1000"},
    {"6: none: a full-sized one and no more", S6, {}, "", true, "10:1000"},
    {"6: a young full one is all", S6, {{1, kDay - 1}}, "", true, "1:1000"},
    {"6: a period old: an additional one of the free space", S6, {{1, kDay}}, "vg_free 700", true,
     "1:1000 10:700"},
    {"6: a second short and 94 %: kept", S6, {{1, kDay + 9}, {2, 10, 700, 94}}, "", true,
     "1:1000 2:700"},
    {"6: a second short and 95 %: rotated", S6, {{1, kDay + 9}, {2, 10, 700, 95}}, "", true,
     "2:1000 10:1000"},
    {"6: the full one unusable: the additional takes its place", S6,
     {{1, kDay + 9, kRoot, 100}, {2, 10, 700}}, "", true, "2:1000"},
    {"6: both unusable: one new full-sized", S6, {{1, kDay, kRoot, 100}, {2, 10, 700, 100}}, "",
     true, "10:1000"},
    {"6: the third goes first, then the pair a period apart rotates", S6,
     {{1, kDay + 10}, {2, 10, 700}, {3, 5, 700}}, "", true, "2:1000 10:1000"},
    {"6: an undated one is listed first and goes", S6, {{1, kUndated, 700}, {2, 10}}, "", true,
     "2:1000"},
    {"6: a pair made in one second: no rotation", S6, {{1, 10}, {2, 10, 700}}, "", true,
     "1:1000 2:700"},
    {"6: period 0: no additional", {6, 0, 0, 0}, {{1, 99 * kDay}}, "", true, "1:1000"},
    {"1: launch: purge, save, timer, one full-sized", S1, {{1, 90}, {2, 60}}, "", true, "10:1000",
     kLaunch, S1},
    {"1: launch whose last creation fails keeps the automation", S1, {}, "fail create_lvm_snapshot",
     false, "", kLaunch, S1},
    {"5: launch: 99 % of a quarter of the free space", {5, 3, 4, 0}, {}, "vg_free 1000", true,
     "10:247", kLaunch, {{5, 3, 4, 247}}},
    {"5: launch in a VG of room for more: the root's size", {5, 1, 2, 0}, {}, "vg_free 5000", true,
     "10:1000", kLaunch, {{5, 1, 2, 1000}}},
    {"5: launch when the free space cannot be read: no queue of full-sized ones", {5, 3, 4, 0}, {},
     "fail root_vg_free_space", false, "", kLaunch, {}, "--"},
    {"5: launch where only the true double product is right", {5, 1, 2, 0}, {},
     "vg_free 18014398509481986\nroot_size 18014398509481986", true, "10:8917127262193582",
     kLaunch, {{5, 1, 2, 8917127262193582}}},
    {"3: trigger: stop, check, one of min(free, root) more", S3, {{1, 90}}, "vg_free 700", true,
     "1:1000 10:700", kTrigger, {}, "--"},
    {"3: trigger when /boot uses all the free space", S3, {{1, 90}}, "vg_free 100", false, "1:1000",
     kTrigger, {}, "--"},
    {"3: trigger after a failed check still adds one", S3, {{1, 90}, {2, 60}},
     "fail remove_lvm_snapshot 2", true, "1:1000 2:1000 10:1000", kTrigger, {}, "--"},
    {"4: trigger rotates first", S4, {{1, 2 * kDay}}, "", true, "10:1000 11:1000", kTrigger, {},
     "--"},
    {"1: trigger does nothing", S1, {{1, 90}}, "", true, "1:1000", kTrigger},
    {"3: trigger while stopped by -b: as ever", S3, {{1, 90}}, "vg_free 700", true, "1:1000 10:700",
     kTrigger, {}, "--", "-e"},
    {"3: a second trigger keeps the first one's restore point", S3, {{1, 90}, {2, 60, 700}}, "",
     true, "1:1000 2:700", kTrigger, {}, "--", "--"},
    {"4: so does script 4's, due rotation or not", S4, {{1, 2 * kDay}, {2, 60, 700}}, "", true,
     "1:1000 2:700", kTrigger, {}, "--", "--"},
};
// clang-format on

// A change the tool asked of the library, as it logs each before making it ("Script 1, surplus:
// removing a snapshot", or "refused" for a creation it refused), and whether it failed.
struct Change {
    std::string what;
    bool failed;
};

// The causes of walks: every entry of their list is tried, whatever failed before.
[[nodiscard]] bool isWalk(const std::string& what)
{
    const auto has = [&what](const char* cause) { return what.find(cause) != std::string::npos; };
    return has(", launch:") || has(", purge:") || has(", surplus:") || has(", undated:") ||
           has(", overfilled:") || has(", wrong size:");
}

// After the first change that failed, or was refused, a walk (its cause says so) tries the rest
// of its list and the operation ends; after any other change it ends at once. Before it, all went
// as without the failure.
void expectEndAfterFailure(const std::string& what, const std::vector<Change>& good,
                           std::vector<Change> faulted)
{
    const auto first =
        std::find_if(faulted.begin(), faulted.end(), [](const Change& c) { return c.failed; });
    if (first == faulted.end()) {
        return;
    }
    const auto at = static_cast<size_t>(first - faulted.begin());
    const bool walk = isWalk(first->what);
    std::vector<std::string> expected;
    for (size_t i = 0; i < good.size(); ++i) {
        const bool restOfWalk =
            walk && i > at && good[i].what == first->what && expected.size() + 1 == i;
        if (i < at || restOfWalk) {
            expected.push_back(good[i].what);
        }
    }
    faulted.erase(first);
    std::vector<std::string> seen;
    for (const Change& change : faulted) {
        seen.push_back(change.what);
    }
    EXPECT_EQ(seen, expected) << what;
}

class Scripts : public World {
protected:
    // Runs the row's operation on its state, with `extra` state lines and systemctl `failing`.
    bool run(const Row& row, const std::string& extra = "",
             const std::vector<std::string>& failing = {})
    {
        seed(row.before, row.more + "\n" + extra, failing);
        for (const auto& [flag, file] : {std::pair{'a', "active"}, std::pair{'e', "enabled"}}) {
            if (row.timerBefore.find(flag) == std::string::npos) {
                std::filesystem::remove(dir_ + "/systemctl/" + file);
            }
        }
        const std::unique_ptr<ScriptManagerBase> manager = createManager(row.config);
        return manager != nullptr && (manager.get()->*row.op)();
    }
    // The changes of the last run, read from its log.
    [[nodiscard]] static std::vector<Change> changes()
    {
        std::vector<Change> result;
        for (const Logged& entry : logged) {
            const std::string what = entry.line.substr(0, entry.line.size() - 1); // no full stop
            if (!result.empty() && what == result.back().what + " failed") {
                result.back().failed = true;
            } else if (what.find("ing a snapshot") != std::string::npos) {
                result.push_back({what, false});
            } else if (what.find("can be made now") != std::string::npos ||
                       what.find("no additional") != std::string::npos) {
                result.push_back({"refused", true});
            }
        }
        return result;
    }
    // No step of the last run took the last usable snapshot (dated, at most 99 % full) away.
    // Each change is logged before it is made, so a step is what happened between two lines of
    // the log, or after the last.
    void expectRestorePointKept(const Row& row, const std::string& what) const
    {
        if (row.op == kLaunch) {
            return; // a launch purges by design
        }
        std::vector<long> usableAt; // at each line of the log, and at the end
        for (const Logged& entry : logged) {
            usableAt.push_back(usable(entry.state));
        }
        usableAt.push_back(usable(read(dir_ + "/sim")));
        for (size_t i = 1; i < usableAt.size(); ++i) {
            if (usableAt[i - 1] > 0) {
                EXPECT_GT(usableAt[i], 0) << what << ": " << logged[i - 1].line;
            }
        }
    }
    [[nodiscard]] static long usable(const std::string& state)
    {
        const std::vector<Snap> snaps = snapsIn(state);
        return std::count_if(snaps.begin(), snaps.end(),
                             [](const Snap& s) { return s.age != kUndated && s.fill <= 99; });
    }
    // The snapshots' sizes after one more check on what the run left, with its configuration.
    [[nodiscard]] std::string sizesAfterAnotherCheck(const Row& row)
    {
        if (const auto next =
                createManager(row.op == kCheck ? row.config : parseConfig(config()))) {
            static_cast<void>(next->check());
        }
        std::string sizes;
        for (const Snap& s : snapsIn(read(dir_ + "/sim"))) {
            sizes += std::to_string(s.size) + " ";
        }
        return sizes;
    }
};

// The failures to inject at a function: its next call, and each snapshot's next call. A listed
// snapshot's figures come from its list and never fail on their own; a release cannot fail.
[[nodiscard]] std::vector<std::string> faultsAt(const NorvaFunction& function, const Row& row)
{
    const std::string fail = "fail " + std::string(function.name) + " ";
    std::vector<std::string> faults;
    if (function.kind != NORVA_RELEASES && function.kind != NORVA_ANSWERS_ONE) {
        faults.push_back(fail + "* 1");
    }
    for (size_t i = 0; function.kind == NORVA_CHANGES_ONE && i < row.before.size(); ++i) {
        faults.push_back(fail + std::to_string(row.before[i].id) + " 1");
    }
    return faults;
}

} // namespace

TEST_F(World, SimulatedLibraryKeepsThePromises)
{
    expectLibraryPromises(*this);
}

TEST_F(Scripts, DoWhatTheirRulesSay)
{
    for (const Row& row : kRows) {
        EXPECT_EQ(run(row), row.result) << row.what;
        EXPECT_EQ(snapshots(), row.after) << row.what;
        EXPECT_EQ(row.saved ? serializeConfig(*row.saved) : "-", config()) << row.what;
        EXPECT_EQ(row.timerAfter, timer()) << row.what;
    }
}

// A failure at each call of the library that can fail on its own, and at every systemctl verb,
// judged by the rules that hold whatever the script: a failure is reported; it ends the
// operation, after the rest of a walk; no usable snapshot goes without another usable one beside
// it; a run that answers true in spite of it leaves what the next good check makes into what it
// makes after the good run. A launch's timer must start before anything is created.
TEST_F(Scripts, KeepTheirPromisesWhateverFails)
{
    for (const Row& row : kRows) {
        const bool good = run(row);
        const std::vector<Change> goodChanges = changes();
        expectRestorePointKept(row, row.what);
        const std::string goodNext = sizesAfterAnotherCheck(row);
        for (const NorvaFunction& function : kNorvaFunctions) {
            for (const std::string& fault : faultsAt(function, row)) {
                const std::string what = std::string(row.what) + " with " + fault;
                const bool result = run(row, fault);
                if (read(dir_ + "/sim").find(fault + "\n") != std::string::npos) {
                    continue; // never called: this was the good run
                }
                expectRestorePointKept(row, what);
                const std::vector<Change> faulted = changes();
                if (row.op == kTrigger) {
                    continue; // its check's failures are its own: it answers for its creation
                }
                // Failures of the other functions change the way before any change fails.
                if (function.kind == NORVA_CHANGES || function.kind == NORVA_CHANGES_ONE ||
                    std::string_view(function.name) == "can_create_lvm_snapshot") {
                    expectEndAfterFailure(what, goodChanges, faulted);
                }
                if (std::any_of(faulted.begin(), faulted.end(),
                                [](const Change& c) { return c.failed; })) {
                    EXPECT_FALSE(result) << what;
                }
                if (good && result) {
                    EXPECT_EQ(sizesAfterAnotherCheck(row), goodNext)
                        << what << ", then a good check";
                }
            }
        }
        // A check touches no timer, so every verb fails at once; the others meet one at a time.
        const std::vector<std::string> verbs{"is-active", "is-enabled", "stop",
                                             "disable",   "enable",     "start"};
        for (size_t i = 0; i < (row.op == kCheck ? 1 : verbs.size()); ++i) {
            const std::vector<std::string> failing =
                row.op == kCheck ? verbs : std::vector{verbs[i]};
            const bool timerStarts = row.op == kLaunch && i >= 4;
            EXPECT_EQ(run(row, "", failing), good && !timerStarts)
                << row.what << ", failing " << verbs[i];
            EXPECT_EQ(snapshots(), timerStarts ? "" : row.after)
                << row.what << ", failing " << verbs[i];
        }
    }
}
