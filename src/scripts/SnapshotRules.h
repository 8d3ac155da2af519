// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "norvasnapshots.h"

#include <cstdint>

// The arithmetic and the states that the scripts share. Ages and gaps are unsigned 64-bit
// differences: a creation time in the future wraps to a huge age and so counts as expired.

inline constexpr uint64_t kSecondsPerDay = 86400;
inline constexpr uint64_t kHighestUsableFilling = 99;
inline constexpr uint64_t kHighestTolerableFilling = 94;

// `days` × 86400 in 64 bits, sign-extended, then read unsigned: a hand-edited lifetime never
// overflows, and a negative one reads as a period longer than any age.
[[nodiscard]] constexpr uint64_t periodSeconds(int32_t days)
{
    return static_cast<uint64_t>(static_cast<int64_t>(days) * static_cast<int64_t>(kSecondsPerDay));
}

// `later` − `earlier`, wrapping when `later` is in fact earlier.
[[nodiscard]] constexpr uint64_t elapsed(uint64_t earlier, uint64_t later)
{
    return later - earlier;
}

// An age or gap equal to the period counts as reached.
[[nodiscard]] constexpr bool hasReached(uint64_t age, uint64_t period)
{
    return age >= period;
}

// Usable: dated, and filled to 99 percent at most. The filling is read only for a dated one.
[[nodiscard]] bool isUsable(SnapshotHandle snapshot);

// The same for a snapshot whose creation time was already read.
[[nodiscard]] bool isUsable(SnapshotHandle snapshot, uint64_t creationTime);

// Overfilled: 95 percent or more.
[[nodiscard]] bool isOverfilled(SnapshotHandle snapshot);

// The double nearest to 0.99 (0x3FEFAE147AE147AE): a queue leaves 1 percent of the free space.
inline constexpr double kQueueShareOfFreeSpace = 0.99;

// The size of each queue snapshot: the free space shared out in integer division, 99 percent of
// a share, truncated, and no more than the root volume's size: the library holds a larger
// snapshot at that size, and a size it never reports would be "put right" at every check.
// `quantity` must be at least 1.
[[nodiscard]] constexpr uint64_t queueSnapshotSize(uint64_t freeSpace, int32_t quantity,
                                                   uint64_t rootSize)
{
    const uint64_t share = freeSpace / static_cast<uint64_t>(static_cast<int64_t>(quantity));
    const auto size = static_cast<uint64_t>(static_cast<double>(share) * kQueueShareOfFreeSpace);
    return size < rootSize ? size : rootSize;
}
