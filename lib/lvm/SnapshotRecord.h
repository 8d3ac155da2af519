// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "LvmReport.h"
#include "SnapshotSizes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a handle points to: one snapshot of the root volume as one report showed it, named by
// its uuid as well as its name. The figures are a copy, so a held list stays as it was read;
// only this process's own resizes and removals through the handle update it.
struct NorvaSnapshot {
    std::string name;
    std::string vgName;
    std::string uuid;
    uint64_t creationTime = 0;
    uint64_t sequence = 0; // our order among snapshots made in the same second
    uint64_t extents = 0;
    uint64_t size = 0; // bytes allocated
    std::optional<uint64_t> askedSize;
    uint64_t fillHundredths = 0;
    bool measurable = false; // lvs gave a snap_percent
    bool invalid = false;
    SnapshotGeometry geometry;
    bool removed = false;
};

// Tags the library gives its snapshots beside kOwnTag: the size that was asked for, the order
// and the chunk size it was made with.
[[nodiscard]] std::string sizeTag(uint64_t size);
[[nodiscard]] std::string sequenceTag(uint64_t sequence);
[[nodiscard]] std::string chunkTag(uint64_t chunkSize);

[[nodiscard]] NorvaSnapshot snapshotFromRow(const LvRow& row, const LvRow& origin);

// The snapshots of the root that this library made, oldest first: by LVM's creation time,
// then by our own sequence for those of the same second, then by name. A snapshot being
// merged back is not among them.
[[nodiscard]] std::vector<NorvaSnapshot> ourSnapshots(const LvmReport& report);

// The percent the library answers: rounded down, and at least 100 once LVM gave up on it.
[[nodiscard]] uint64_t fillingPercent(const NorvaSnapshot& snapshot);

// The extents of the size that was asked for; those it has when no size was kept.
[[nodiscard]] uint64_t askedExtents(const NorvaSnapshot& snapshot);

// The size the library answers: the asked size as long as the snapshot has the extents for
// it, otherwise what it really has. A snapshot that LVM grew beyond that (its autoextension
// by dmeventd) still answers the asked size: the size asked for is a floor, so that the
// tool does not shrink back what LVM gave it.
[[nodiscard]] uint64_t reportedSize(const NorvaSnapshot& snapshot);
