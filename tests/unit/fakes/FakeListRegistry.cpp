#include "fakes/FakeListRegistry.h"

#include <algorithm>

SnapshotList FakeListRegistry::add(const std::vector<uint64_t>& ids)
{
    auto held = std::make_unique<HeldList>();
    for (const uint64_t id : ids) {
        held->snapshots.push_back(std::make_unique<NorvaSnapshot>(NorvaSnapshot{id}));
        held->array.push_back(held->snapshots.back().get());
    }
    held->array.push_back(nullptr);
    lists_.push_back(std::move(held));
    return lists_.back()->array.data();
}

FakeListRegistry::ReleaseResult FakeListRegistry::release(SnapshotList list)
{
    const auto found = std::find_if(lists_.begin(), lists_.end(), [list](const auto& held) {
        return held->array.data() == list;
    });
    if (found == lists_.end()) {
        return ReleaseResult::Unknown;
    }
    HeldList& held = **found;
    if (held.released) {
        return ReleaseResult::AlreadyReleased;
    }
    held.released = true;
    std::fill(held.array.begin(), held.array.end() - 1, &releasedEntry_);
    return ReleaseResult::Released;
}

FakeListRegistry::HandleLookup FakeListRegistry::lookup(SnapshotHandle handle) const
{
    if (handle == &releasedEntry_) {
        return {HandleState::Released, 0};
    }
    for (const auto& held : lists_) {
        for (const auto& snapshot : held->snapshots) {
            if (snapshot.get() == handle) {
                const auto state = held->released ? HandleState::Released : HandleState::Live;
                return {state, snapshot->id};
            }
        }
    }
    return {HandleState::Unknown, 0};
}

size_t FakeListRegistry::openLists() const
{
    return static_cast<size_t>(std::count_if(lists_.begin(), lists_.end(),
                                             [](const auto& held) { return !held->released; }));
}
