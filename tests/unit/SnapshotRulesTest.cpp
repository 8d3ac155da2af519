#include "scripts/SnapshotRules.h"

#include <bit>
#include <gtest/gtest.h>

namespace {

TEST(SnapshotRules, PeriodsAreSixtyFourBitAndNeverOverflow)
{
    EXPECT_EQ(periodSeconds(1), 86400u);
    EXPECT_EQ(periodSeconds(30000), 2592000000u);
    EXPECT_EQ(periodSeconds(INT32_MAX), 2147483647ULL * 86400ULL);
    EXPECT_EQ(periodSeconds(0), 0u);
    // A negative period reads as longer than any age.
    EXPECT_EQ(periodSeconds(-1), UINT64_MAX - 86400 + 1);
}

TEST(SnapshotRules, AgesWrapAndAPeriodIsReachedWhenEqual)
{
    EXPECT_EQ(elapsed(100, 150), 50u);
    EXPECT_EQ(elapsed(150, 100), UINT64_MAX - 49);
    EXPECT_TRUE(hasReached(elapsed(0, 86400), periodSeconds(1)));
    EXPECT_FALSE(hasReached(elapsed(1, 86400), periodSeconds(1)));
    EXPECT_TRUE(hasReached(elapsed(200, 100), periodSeconds(7)));
}

TEST(SnapshotRules, QueueSizeIsNinetyNinePercentOfAShareTruncated)
{
    EXPECT_EQ(std::bit_cast<uint64_t>(kQueueShareOfFreeSpace), 0x3FEFAE147AE147AEULL);
    EXPECT_EQ(queueSnapshotSize(1000, 4), 247u);
    EXPECT_EQ(queueSnapshotSize(1000000000000ULL, 3), 329999999999ULL);
    EXPECT_EQ(queueSnapshotSize(0, 2), 0u);
    EXPECT_EQ(queueSnapshotSize(1, 1), 0u);
}

} // namespace
