#include "fakes/FakeSnapshotLibrary.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <ostream>

namespace {

constexpr std::array<std::string_view, 12> kFunctions = {
    "existing_lvm_snapshots",     "free_existing_lvm_snapshots",  "create_lvm_snapshot",
    "can_create_lvm_snapshot",    "remove_lvm_snapshot",          "resize_lvm_snapshot",
    "lvm_snapshot_creation_time", "lvm_snapshot_filling_percent", "lvm_snapshot_size",
    "root_volume_size",           "root_vg_free_space",           "boot_partition_used_space"};

// A misspelt function name would make a failure test pass without injecting anything.
bool isLibraryFunction(std::string_view function)
{
    return std::find(kFunctions.begin(), kFunctions.end(), function) != kFunctions.end();
}

bool isMutation(std::string_view call)
{
    return call.starts_with("create_lvm_snapshot(") || call.starts_with("remove_lvm_snapshot(") ||
           call.starts_with("resize_lvm_snapshot(");
}

} // namespace

std::ostream& operator<<(std::ostream& out, const FakeSnapshot& snapshot)
{
    return out << "{#" << snapshot.id << " created " << snapshot.creationTime << " size "
               << snapshot.size << " filling " << snapshot.filling << "}";
}

FakeSnapshotLibrary::FakeSnapshotLibrary() : previous_(current_)
{
    if (previous_ != nullptr) {
        ADD_FAILURE() << "a second FakeSnapshotLibrary while another one is current";
    }
    current_ = this;
}

FakeSnapshotLibrary::~FakeSnapshotLibrary()
{
    reportViolations();
    current_ = previous_;
}

uint64_t FakeSnapshotLibrary::addSnapshot(uint64_t creationTime, uint64_t size, uint64_t filling)
{
    snapshots_.push_back({nextId_, creationTime, size, filling});
    return nextId_++;
}

void FakeSnapshotLibrary::setFilling(uint64_t id, uint64_t percent)
{
    if (FakeSnapshot* snapshot = find(id)) {
        snapshot->filling = percent;
    } else {
        ADD_FAILURE() << "no snapshot #" << id;
    }
}

void FakeSnapshotLibrary::setCreationTime(uint64_t id, uint64_t time)
{
    if (FakeSnapshot* snapshot = find(id)) {
        snapshot->creationTime = time;
    } else {
        ADD_FAILURE() << "no snapshot #" << id;
    }
}

std::vector<uint64_t> FakeSnapshotLibrary::ids() const
{
    std::vector<uint64_t> result;
    for (const FakeSnapshot& snapshot : snapshots_) {
        result.push_back(snapshot.id);
    }
    return result;
}

void FakeSnapshotLibrary::failAlways(std::string function)
{
    EXPECT_TRUE(isLibraryFunction(function)) << "no such library function: " << function;
    failAlways_.insert(std::move(function));
}

void FakeSnapshotLibrary::failFor(std::string function, uint64_t id)
{
    EXPECT_TRUE(isLibraryFunction(function)) << "no such library function: " << function;
    failFor_.emplace(std::move(function), id);
}

void FakeSnapshotLibrary::failNthCall(size_t n)
{
    EXPECT_GT(n, 0U) << "calls are counted from 1";
    failNth_.insert(n);
}

std::vector<std::string> FakeSnapshotLibrary::mutations() const
{
    std::vector<std::string> result;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
                 [](const std::string& call) { return isMutation(call); });
    return result;
}

size_t FakeSnapshotLibrary::count(std::string_view prefix) const
{
    return static_cast<size_t>(std::count_if(calls_.begin(), calls_.end(), [prefix](const auto& c) {
        return std::string_view(c).starts_with(prefix);
    }));
}

FakeSnapshot* FakeSnapshotLibrary::find(uint64_t id)
{
    const auto found =
        std::find_if(snapshots_.begin(), snapshots_.end(),
                     [id](const FakeSnapshot& snapshot) { return snapshot.id == id; });
    return found == snapshots_.end() ? nullptr : &*found;
}

void FakeSnapshotLibrary::reportViolations() const
{
    std::vector<std::string> found = violations_;
    if (const size_t open = lists_.openLists(); open > 0) {
        found.push_back(std::to_string(open) + " list(s) never released");
    }
    if (found.empty()) {
        return;
    }
    std::string report = "snapshot library misused:";
    for (const std::string& violation : found) {
        report += "\n  " + violation;
    }
    report += "\ncalls:";
    for (const std::string& call : calls_) {
        report += "\n  " + call;
    }
    ADD_FAILURE() << report;
}
