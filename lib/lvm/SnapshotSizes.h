// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <cstdint>
#include <string_view>

// The sizes that matter for one classic snapshot of the root volume, in bytes.
struct SnapshotGeometry {
    uint64_t extentSize = 0;
    uint64_t originSize = 0;
    uint64_t chunkSize = 0;
};

// The chunk size the library gives its snapshots, passed explicitly to lvcreate so that the
// largest useful size below is the one LVM allocates, and kept in a tag of each snapshot.
// LVM's default: larger chunks speed up sequential writes but fill a snapshot faster with
// small scattered ones (1.3 times at 16 KiB), and the snapshots sized from free space would
// overflow sooner (BENCHMARKS.md).
inline constexpr uint64_t kChunkSize = 4096;
// The chunk size of snapshots made before the tag existed.
inline constexpr uint64_t kFirstChunkSize = 4096;

// The largest copy-on-write size that is of use for the origin: one header chunk, a chunk per
// origin chunk and the exception store's metadata chunks, rounded up to whole extents. A COW
// area only as large as the origin overflows when the whole origin is rewritten.
[[nodiscard]] uint64_t fullSnapshotExtents(const SnapshotGeometry& geometry);

// The extents a snapshot of `size` bytes takes: 0 and every size from the origin's up mean
// full-sized; smaller sizes round down to whole extents, so that n snapshots of one size never
// take more than n times that size (the queue's sizes are shares of the free space). 0 for a
// size below one extent, which no snapshot can have.
[[nodiscard]] uint64_t extentsForSize(uint64_t size, const SnapshotGeometry& geometry);

// The size the library answers for a snapshot asked with `size`: full-sized, and held at full
// size when asked larger, is the root volume's size, which is what the tool compares with.
[[nodiscard]] uint64_t answeredSize(uint64_t size, const SnapshotGeometry& geometry);

// lvs's snap_percent ("75.93") in hundredths of a percent; 0 for an empty text.
[[nodiscard]] uint64_t percentHundredths(std::string_view percent);

// The bytes in use in a COW area of `size` bytes filled to `hundredths`, rounded up.
[[nodiscard]] uint64_t usedBytes(uint64_t size, uint64_t hundredths);
