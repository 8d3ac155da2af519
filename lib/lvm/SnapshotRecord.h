#pragma once

#include "LvmReport.h"
#include "SnapshotSizes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a handle points to: one snapshot of the root volume as one report showed it. The
// figures are a copy, so a held list stays as it was read; only this process's own resizes
// and removals through the handle update it.
struct NorvaSnapshot {
    std::string name;
    std::string vgName;
    uint64_t creationTime = 0;
    uint64_t sequence = 0; // our order among snapshots made in the same second; 0 if not ours
    uint64_t extents = 0;
    uint64_t size = 0; // bytes allocated
    std::optional<uint64_t> askedSize;
    uint64_t fillHundredths = 0;
    bool measurable = false; // lvs gave a snap_percent
    bool invalid = false;
    SnapshotGeometry geometry;
    bool removed = false;
};

// Tags the library gives its snapshots: a marker, the size that was asked for and the order.
inline constexpr const char* kOwnTag = "norvasnap";
[[nodiscard]] std::string sizeTag(uint64_t size);
[[nodiscard]] std::string sequenceTag(uint64_t sequence);

[[nodiscard]] NorvaSnapshot snapshotFromRow(const LvRow& row, const LvRow& origin);

// Snapshots of `origin` in the rows, oldest first: by LVM's creation time, then by our own
// sequence for those of the same second, then by name.
[[nodiscard]] std::vector<NorvaSnapshot> snapshotsOf(const std::vector<LvRow>& rows,
                                                     const LvRow& origin);

// The percent the library answers: rounded down, and at least 100 once LVM gave up on it.
[[nodiscard]] uint64_t fillingPercent(const NorvaSnapshot& snapshot);

// The size the library answers: the asked size as long as the snapshot has the extents for
// it, otherwise what it really has.
[[nodiscard]] uint64_t reportedSize(const NorvaSnapshot& snapshot);
