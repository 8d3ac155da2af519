#pragma once

#include "snapshots/norvasnapshots.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// What a fake handle points to: the id of the snapshot it names.
struct NorvaSnapshot {
    uint64_t id = 0;
};

// The lists that the fake snapshot library hands out. Every list is kept until the registry dies,
// so that a stale list or handle pointer is still recognised, and never reused by a later list,
// after it was released.
class FakeListRegistry {
public:
    enum class HandleState { Live, Released, Unknown };

    struct HandleLookup {
        HandleState state = HandleState::Unknown;
        uint64_t id = 0; // 0 when the handle names no snapshot this registry knows
    };

    enum class ReleaseResult { Released, AlreadyReleased, Unknown };

    FakeListRegistry() = default;
    FakeListRegistry(const FakeListRegistry&) = delete;
    FakeListRegistry& operator=(const FakeListRegistry&) = delete;
    ~FakeListRegistry() = default;

    // A new null-terminated list naming these snapshots, in this order.
    [[nodiscard]] SnapshotList add(const std::vector<uint64_t>& ids);

    [[nodiscard]] ReleaseResult release(SnapshotList list);

    [[nodiscard]] HandleLookup lookup(SnapshotHandle handle) const;

    [[nodiscard]] size_t openLists() const;

private:
    struct HeldList {
        std::vector<std::unique_ptr<NorvaSnapshot>> snapshots;
        std::vector<SnapshotHandle> array; // what the caller sees, null-terminated
        bool released = false;
    };

    std::vector<std::unique_ptr<HeldList>> lists_;
    // Stands in for every entry of a released list, so that walking a list after releasing it
    // hands the library a handle it reports as used after release, not one that still works.
    NorvaSnapshot releasedEntry_;
};
