// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SnapshotRecord.h"

#include <algorithm>
#include <tuple>

std::string sizeTag(uint64_t size)
{
    return std::string(kSizePrefix) + std::to_string(size);
}

std::string sequenceTag(uint64_t sequence)
{
    return std::string(kSequencePrefix) + std::to_string(sequence);
}

std::string chunkTag(uint64_t chunkSize)
{
    return std::string(kChunkPrefix) + std::to_string(chunkSize);
}

NorvaSnapshot snapshotFromRow(const LvRow& row, const LvRow& origin)
{
    NorvaSnapshot snapshot;
    snapshot.name = row.name;
    snapshot.vgName = row.vgName;
    snapshot.uuid = row.uuid;
    snapshot.creationTime = decimal(row.time).value_or(0);
    snapshot.sequence = row.numberTag(kSequencePrefix).value_or(0);
    snapshot.size = row.size;
    // Snapshots made before the chunk tag existed all have the chunk size of that time.
    const uint64_t chunk = row.numberTag(kChunkPrefix).value_or(kFirstChunkSize);
    snapshot.geometry = {row.extentSize, origin.size, chunk};
    snapshot.extents = row.extentSize == 0 ? 0 : row.size / row.extentSize;
    snapshot.askedSize = row.numberTag(kSizePrefix);
    snapshot.measurable = !row.snapPercent.empty();
    snapshot.fillHundredths = percentHundredths(row.snapPercent);
    snapshot.invalid = row.isInvalid();
    return snapshot;
}

std::vector<NorvaSnapshot> ourSnapshots(const LvmReport& report)
{
    std::vector<NorvaSnapshot> snapshots;
    for (const LvRow& row : report.rows()) {
        if (report.isOurs(row)) {
            snapshots.push_back(snapshotFromRow(row, report.root()));
        }
    }
    std::stable_sort(snapshots.begin(), snapshots.end(),
                     [](const NorvaSnapshot& a, const NorvaSnapshot& b) {
                         return std::tie(a.creationTime, a.sequence, a.name) <
                                std::tie(b.creationTime, b.sequence, b.name);
                     });
    return snapshots;
}

uint64_t fillingPercent(const NorvaSnapshot& snapshot)
{
    // Without a figure from LVM (an inactive snapshot) nothing vouches for its content.
    if (!snapshot.measurable) {
        return 100;
    }
    const uint64_t percent = snapshot.fillHundredths / 100;
    return snapshot.invalid ? std::max<uint64_t>(percent, 100) : percent;
}

uint64_t askedExtents(const NorvaSnapshot& snapshot)
{
    return snapshot.askedSize ? extentsForSize(*snapshot.askedSize, snapshot.geometry)
                              : snapshot.extents;
}

uint64_t reportedSize(const NorvaSnapshot& snapshot)
{
    return snapshot.askedSize && snapshot.extents >= askedExtents(snapshot) ? *snapshot.askedSize
                                                                            : snapshot.size;
}
