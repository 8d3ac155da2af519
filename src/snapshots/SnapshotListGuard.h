// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "norvasnapshots.h"

#include <cstddef>

// Owns one list taken from the library and releases it exactly once: when the guard ends, or
// earlier through release() or refresh(). Handles from the list must not outlive it.
class SnapshotListGuard {
public:
    SnapshotListGuard() : list_(existing_lvm_snapshots()) {}
    ~SnapshotListGuard() { release(); }

    SnapshotListGuard(const SnapshotListGuard&) = delete;
    SnapshotListGuard& operator=(const SnapshotListGuard&) = delete;

    // Releases the list now; the guard is then empty.
    void release()
    {
        if (list_ != nullptr) {
            free_existing_lvm_snapshots(list_);
            list_ = nullptr;
        }
    }

    // Releases the list and takes a fresh one, for the state after changes.
    void refresh()
    {
        release();
        list_ = existing_lvm_snapshots();
    }

    [[nodiscard]] std::size_t size() const
    {
        std::size_t count = 0;
        while (list_ != nullptr && list_[count] != nullptr) {
            ++count;
        }
        return count;
    }

    [[nodiscard]] bool empty() const { return size() == 0; }

    // The entry at `index`, or null past the end (and for an empty or released guard).
    [[nodiscard]] SnapshotHandle at(std::size_t index) const
    {
        return index < size() ? list_[index] : nullptr;
    }

    [[nodiscard]] SnapshotHandle first() const { return at(0); }
    [[nodiscard]] SnapshotHandle last() const { return empty() ? nullptr : at(size() - 1); }

    [[nodiscard]] const SnapshotHandle* begin() const { return list_; }
    [[nodiscard]] const SnapshotHandle* end() const { return list_ + size(); }

private:
    SnapshotList list_;
};
