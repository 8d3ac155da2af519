#pragma once

#include "fakes/FakeListRegistry.h"
#include "snapshots/norvasnapshots.h"

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct FakeSnapshot {
    uint64_t id = 0;
    uint64_t creationTime = 0;
    uint64_t size = 0;
    uint64_t filling = 0;

    bool operator==(const FakeSnapshot&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FakeSnapshot& snapshot);

// An in-memory snapshot library owned by a test fixture. While it lives, the twelve C functions of
// the snapshot library answer from it. It records every call, fails the calls a test chooses, and
// reports misuse of lists and handles as a test failure when it is destroyed.
class FakeSnapshotLibrary {
public:
    // can_create_lvm_snapshot's answer when the size does not fit the free space, and its answer
    // when a failure is injected.
    static constexpr int32_t kNoRoom = 1;
    static constexpr int32_t kInjectedRefusal = 2;

    FakeSnapshotLibrary();
    ~FakeSnapshotLibrary();
    FakeSnapshotLibrary(const FakeSnapshotLibrary&) = delete;
    FakeSnapshotLibrary& operator=(const FakeSnapshotLibrary&) = delete;

    // The fake the C functions answer from; null when no test owns one.
    [[nodiscard]] static FakeSnapshotLibrary* current() { return current_; }

    void setRootSize(uint64_t size) { rootSize_ = size; }
    void setVgFree(uint64_t size) { vgFree_ = size; }
    void setBootUsed(uint64_t size) { bootUsed_ = size; }
    [[nodiscard]] uint64_t rootSize() const { return rootSize_; }
    [[nodiscard]] uint64_t vgFree() const { return vgFree_; }
    [[nodiscard]] uint64_t bootUsed() const { return bootUsed_; }

    // Seeds a snapshot as the newest, without taking its size from the free space; returns its id.
    uint64_t addSnapshot(uint64_t creationTime, uint64_t size, uint64_t filling = 0);
    void setFilling(uint64_t id, uint64_t percent);
    void setCreationTime(uint64_t id, uint64_t time);
    // The snapshots as they are now, oldest first.
    [[nodiscard]] std::vector<FakeSnapshot> snapshots() const { return snapshots_; }
    [[nodiscard]] std::vector<uint64_t> ids() const;

    // A failing call changes nothing and answers false, 0, an empty list or kInjectedRefusal.
    // Functions are named as in C ("remove_lvm_snapshot"); free_existing_lvm_snapshots never fails.
    void failAlways(std::string function);
    // Fails the calls of that function that are given a handle of that snapshot.
    void failFor(std::string function, uint64_t id);
    // Fails the n-th call (1-based) of any of the twelve functions, counted as calls() lists them.
    void failNthCall(size_t n);
    // A nonzero answer makes can_create_lvm_snapshot refuse every size; 0 restores the real rule.
    void setCanCreateAnswer(int32_t answer) { canCreateAnswer_ = answer; }

    // Every call in order, e.g. "create_lvm_snapshot(0)", "remove_lvm_snapshot(#2)",
    // "resize_lvm_snapshot(#1,1000)", "root_volume_size"; #N is the snapshot id, #? an unknown
    // handle. Failed calls are listed like the others.
    [[nodiscard]] std::vector<std::string> calls() const { return calls_; }
    [[nodiscard]] size_t callCount() const { return calls_.size(); }
    // The create, remove and resize calls among them, whether they succeeded or not.
    [[nodiscard]] std::vector<std::string> mutations() const;
    // How many calls start with this text.
    [[nodiscard]] size_t count(std::string_view prefix) const;

    // Misuse found so far; lists never released are added when the fake is destroyed.
    [[nodiscard]] std::vector<std::string> violations() const { return violations_; }
    [[nodiscard]] size_t openLists() const { return lists_.openLists(); }
    // For tests of misuse detection itself: forget the misuse found so far.
    void clearViolations() { violations_.clear(); }

private:
    friend SnapshotList(::existing_lvm_snapshots)(void);
    friend void(::free_existing_lvm_snapshots)(SnapshotList);
    friend bool(::create_lvm_snapshot)(uint64_t);
    friend int32_t(::can_create_lvm_snapshot)(uint64_t);
    friend bool(::remove_lvm_snapshot)(SnapshotHandle);
    friend bool(::resize_lvm_snapshot)(SnapshotHandle, uint64_t);
    friend uint64_t(::lvm_snapshot_creation_time)(SnapshotHandle);
    friend uint64_t(::lvm_snapshot_filling_percent)(SnapshotHandle);
    friend uint64_t(::lvm_snapshot_size)(SnapshotHandle);
    friend uint64_t(::root_volume_size)(void);
    friend uint64_t(::root_vg_free_space)(void);
    friend uint64_t(::boot_partition_used_space)(void);

    // The answers behind the C functions (FakeSnapshotOperations.cpp).
    SnapshotList existing();
    void release(SnapshotList list);
    bool create(uint64_t size);
    int32_t canCreate(uint64_t size);
    bool remove(SnapshotHandle handle);
    bool resize(SnapshotHandle handle, uint64_t size);
    uint64_t creationTimeOf(SnapshotHandle handle);
    uint64_t fillingOf(SnapshotHandle handle);
    uint64_t sizeOf(SnapshotHandle handle);
    uint64_t volumeAnswer(std::string_view function, uint64_t value);

    // Records the call; true when it is to go ahead, false when a failure is injected.
    bool enter(std::string_view function, std::string entry);
    // Records a call given a handle and checks the handle; the snapshot id when the call is to go
    // ahead, nothing when the handle is not usable or a failure is injected.
    std::optional<uint64_t> enterWithHandle(std::string_view function, SnapshotHandle handle,
                                            std::string_view moreArguments = {});
    bool failureInjected(std::string_view function, std::optional<uint64_t> id) const;
    void changed() { approvedSizes_.clear(); }
    FakeSnapshot* find(uint64_t id);
    void reportViolations() const;

    static inline FakeSnapshotLibrary* current_ = nullptr;
    FakeSnapshotLibrary* previous_ = nullptr;

    uint64_t rootSize_ = 1000;
    uint64_t vgFree_ = 5000;
    uint64_t bootUsed_ = 100;
    uint64_t nextId_ = 1;
    std::vector<FakeSnapshot> snapshots_;

    std::set<std::string, std::less<>> failAlways_;
    std::set<std::pair<std::string, uint64_t>, std::less<>> failFor_;
    std::set<size_t> failNth_;
    int32_t canCreateAnswer_ = 0;

    // Sizes can_create_lvm_snapshot approved since the snapshots last changed.
    std::set<uint64_t> approvedSizes_;
    FakeListRegistry lists_;
    std::vector<std::string> calls_;
    std::vector<std::string> violations_;
};
