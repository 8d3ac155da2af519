// The fake snapshot library's answers to the twelve C functions, following the real contract:
// sizes come from and go back to the volume group's free space, 0 means full-sized, and a held
// list keeps naming the snapshots it was taken with.
#include "fakes/FakeSnapshotLibrary.h"
#include "scripts/Clock.h"

#include <algorithm>

namespace {

const char* describe(FakeListRegistry::HandleState state)
{
    return state == FakeListRegistry::HandleState::Released
               ? "handle used after its list was released"
               : "handle that never came from a list";
}

} // namespace

bool FakeSnapshotLibrary::failureInjected(std::string_view function,
                                          std::optional<uint64_t> id) const
{
    const bool forThisSnapshot =
        id.has_value() && failFor_.find(std::pair(std::string(function), *id)) != failFor_.end();
    return forThisSnapshot || failAlways_.find(function) != failAlways_.end() ||
           failNth_.contains(calls_.size());
}

bool FakeSnapshotLibrary::enter(std::string_view function, std::string entry)
{
    calls_.push_back(std::move(entry));
    return !failureInjected(function, std::nullopt);
}

std::optional<uint64_t> FakeSnapshotLibrary::enterWithHandle(std::string_view function,
                                                             SnapshotHandle handle,
                                                             std::string_view moreArguments)
{
    const auto [state, id] = lists_.lookup(handle);
    const std::string label = state == FakeListRegistry::HandleState::Unknown || id == 0
                                  ? std::string("#?")
                                  : "#" + std::to_string(id);
    std::string entry = std::string(function) + "(" + label;
    entry += moreArguments.empty() ? ")" : "," + std::string(moreArguments) + ")";
    calls_.push_back(entry);
    if (state != FakeListRegistry::HandleState::Live) {
        violations_.push_back(entry + ": " + describe(state));
        return std::nullopt;
    }
    if (failureInjected(function, id)) {
        return std::nullopt;
    }
    return id;
}

SnapshotList FakeSnapshotLibrary::existing()
{
    if (!enter("existing_lvm_snapshots", "existing_lvm_snapshots")) {
        return lists_.add({});
    }
    return lists_.add(ids());
}

void FakeSnapshotLibrary::release(SnapshotList list)
{
    calls_.emplace_back("free_existing_lvm_snapshots");
    switch (lists_.release(list)) {
    case FakeListRegistry::ReleaseResult::Released:
        return;
    case FakeListRegistry::ReleaseResult::AlreadyReleased:
        violations_.emplace_back("a list released twice");
        return;
    case FakeListRegistry::ReleaseResult::Unknown:
        violations_.emplace_back("a list released that never came from existing_lvm_snapshots");
        return;
    }
}

bool FakeSnapshotLibrary::create(uint64_t size)
{
    const std::string entry = "create_lvm_snapshot(" + std::to_string(size) + ")";
    if (!approvedSizes_.contains(size)) {
        violations_.push_back(entry + " without can_create_lvm_snapshot(" + std::to_string(size) +
                              ") answering 0 since the snapshots last changed");
    }
    const uint64_t actual = size == 0 ? rootSize_ : size;
    if (!enter("create_lvm_snapshot", entry) || actual > vgFree_) {
        return false;
    }
    vgFree_ -= actual;
    snapshots_.push_back({nextId_++, currentTime(), actual, 0});
    changed();
    return true;
}

int32_t FakeSnapshotLibrary::canCreate(uint64_t size)
{
    const bool proceed =
        enter("can_create_lvm_snapshot", "can_create_lvm_snapshot(" + std::to_string(size) + ")");
    const uint64_t actual = size == 0 ? rootSize_ : size;
    int32_t answer = actual <= vgFree_ ? 0 : kNoRoom;
    if (canCreateAnswer_ != 0) {
        answer = canCreateAnswer_;
    }
    if (!proceed) {
        answer = kInjectedRefusal;
    }
    if (answer == 0) {
        approvedSizes_.insert(size);
    } else {
        approvedSizes_.erase(size);
    }
    return answer;
}

bool FakeSnapshotLibrary::remove(SnapshotHandle handle)
{
    const auto id = enterWithHandle("remove_lvm_snapshot", handle);
    FakeSnapshot* snapshot = id ? find(*id) : nullptr;
    if (snapshot == nullptr) {
        return false;
    }
    vgFree_ += snapshot->size;
    std::erase_if(snapshots_, [&](const FakeSnapshot& each) { return each.id == *id; });
    changed();
    return true;
}

bool FakeSnapshotLibrary::resize(SnapshotHandle handle, uint64_t size)
{
    const auto id = enterWithHandle("resize_lvm_snapshot", handle, std::to_string(size));
    FakeSnapshot* snapshot = id ? find(*id) : nullptr;
    const uint64_t actual = size == 0 ? rootSize_ : size;
    if (snapshot == nullptr || (actual > snapshot->size && actual - snapshot->size > vgFree_)) {
        return false;
    }
    vgFree_ = vgFree_ + snapshot->size - actual;
    snapshot->size = actual;
    changed();
    return true;
}

uint64_t FakeSnapshotLibrary::creationTimeOf(SnapshotHandle handle)
{
    const auto id = enterWithHandle("lvm_snapshot_creation_time", handle);
    const FakeSnapshot* snapshot = id ? find(*id) : nullptr;
    return snapshot == nullptr ? 0 : snapshot->creationTime;
}

uint64_t FakeSnapshotLibrary::fillingOf(SnapshotHandle handle)
{
    const auto id = enterWithHandle("lvm_snapshot_filling_percent", handle);
    const FakeSnapshot* snapshot = id ? find(*id) : nullptr;
    return snapshot == nullptr ? 0 : snapshot->filling;
}

uint64_t FakeSnapshotLibrary::sizeOf(SnapshotHandle handle)
{
    const auto id = enterWithHandle("lvm_snapshot_size", handle);
    const FakeSnapshot* snapshot = id ? find(*id) : nullptr;
    return snapshot == nullptr ? 0 : snapshot->size;
}

uint64_t FakeSnapshotLibrary::volumeAnswer(std::string_view function, uint64_t value)
{
    return enter(function, std::string(function)) ? value : 0;
}
