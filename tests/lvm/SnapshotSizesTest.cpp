#include "SnapshotSizes.h"

#include "LvmFixture.h"
#include "LvmReport.h"
#include "SnapshotRecord.h"

namespace {

const SnapshotGeometry kRoot{kExtent, kRootSize, 4096};

} // namespace

// The sizes LVM 2.03 gave for classic snapshots at the default chunk size.
TEST(SnapshotSizes, FullSizeIsOriginPlusExceptionStoreRoundedToExtents)
{
    EXPECT_EQ(fullSnapshotExtents(kRoot), 129U);
    EXPECT_EQ(fullSnapshotExtents({kExtent, 64 * kMiB, 4096}), 17U);
    // Exactly a metadata area's worth of chunks needs one more metadata chunk.
    EXPECT_EQ(fullSnapshotExtents({4096, 256 * 4096, 4096}), 1U + 256U + 2U);
    EXPECT_EQ(fullSnapshotExtents({0, kRootSize, 4096}), 0U);
}

TEST(SnapshotSizes, SizesFromTheOriginsUpAreFullSized)
{
    EXPECT_EQ(extentsForSize(0, kRoot), 129U);
    EXPECT_EQ(extentsForSize(kRootSize, kRoot), 129U);
    EXPECT_EQ(extentsForSize(kRootSize - 1, kRoot), 128U);
    EXPECT_EQ(extentsForSize(100 * kRootSize, kRoot), 129U);
}

TEST(SnapshotSizes, SmallerSizesRoundUpToWholeExtents)
{
    EXPECT_EQ(extentsForSize(1, kRoot), 1U);
    EXPECT_EQ(extentsForSize(kExtent, kRoot), 1U);
    EXPECT_EQ(extentsForSize(kExtent + 1, kRoot), 2U);
    EXPECT_EQ(extentsForSize(5 * kMiB, kRoot), 2U);
}

TEST(SnapshotSizes, FullSizeIsAnsweredAsTheRootVolumesSize)
{
    EXPECT_EQ(answeredSize(0, kRoot), kRootSize);
    EXPECT_EQ(answeredSize(12345, kRoot), 12345U);
}

TEST(SnapshotSizes, ReadsPercentsToTheHundredth)
{
    EXPECT_EQ(percentHundredths("75.93"), 7593U);
    EXPECT_EQ(percentHundredths("0.01"), 1U);
    EXPECT_EQ(percentHundredths("100.00"), 10000U);
    EXPECT_EQ(percentHundredths("200.98"), 20098U);
    EXPECT_EQ(percentHundredths("5"), 500U);
    EXPECT_EQ(percentHundredths("5.5"), 550U);
    EXPECT_EQ(percentHundredths(""), 0U);
}

TEST(SnapshotSizes, UsedBytesRoundUpAndDoNotOverflow)
{
    EXPECT_EQ(usedBytes(16 * kMiB, 5000), 8 * kMiB);
    EXPECT_EQ(usedBytes(10001, 1), 2U);
    const uint64_t huge = uint64_t{1} << 60;
    EXPECT_EQ(usedBytes(huge, 10000), huge);
}

TEST(LvmReport, ParsesTheJsonOfLvs)
{
    const auto rows = parseReport(R"({"report": [{"lv": [
        {"lv_name":"root", "vg_name":"vg", "lv_uuid":"3PufEb-ON5B-A6GN-xx29-RaNf-awkbuoC1Ak",
         "lv_size":"536870912", "origin":"", "lv_time":"1796549522", "snap_percent":"",
         "lv_attr":"owi-aos---", "vg_extent_size":"4194304", "vg_free_count":"895"},
        {"lv_name":"s100", "vg_name":"vg", "lv_size":"104857600", "origin":"root",
         "lv_time":"1796549529", "snap_percent":"0.01", "lv_attr":"swi-I-s---",
         "lv_tags":"norvasnap,norvasnap_size_100"}]}]})");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 2U);
    EXPECT_EQ((*rows)[0].uuid, kRootUuid);
    EXPECT_EQ((*rows)[0].vgFreeCount, 895U);
    EXPECT_FALSE((*rows)[0].isSnapshot());
    EXPECT_TRUE((*rows)[1].isSnapshot());
    EXPECT_TRUE((*rows)[1].isInvalid());
    EXPECT_EQ((*rows)[1].size, 104857600U);
    EXPECT_EQ((*rows)[1].chunkSize, 0U);
}

TEST(LvmReport, RefusesWhatIsNotAReport)
{
    EXPECT_EQ(parseReport(""), std::nullopt);
    EXPECT_EQ(parseReport("  WARNING: something\n"), std::nullopt);
    EXPECT_EQ(parseReport(R"({"report": {}})"), std::nullopt);
    EXPECT_EQ(parseReport(R"({"report": [{"vg": []}]})"), std::nullopt);
    EXPECT_TRUE(parseReport(R"({"report": [{"lv": []}]})"));
}

TEST(SnapshotRecord, OrdersByCreationTimeThenOurSequenceThenName)
{
    LvRow root;
    root.name = "root";
    root.vgName = "vg";
    root.attr = "owi-aos---";
    root.size = kRootSize;
    auto snapshot = [](std::string name, std::string time, std::string tags) {
        LvRow row;
        row.name = std::move(name);
        row.vgName = "vg";
        row.attr = "swi-a-s---";
        row.origin = "root";
        row.time = std::move(time);
        row.tags = std::move(tags);
        return row;
    };
    const std::vector<LvRow> rows{snapshot("c", "200", "norvasnap_seq_3"),
                                  snapshot("b", "200", "norvasnap,norvasnap_seq_2"),
                                  snapshot("z", "100", ""),
                                  snapshot("a", "200", "norvasnap_seq_10"),
                                  snapshot("other", "50", ""),
                                  root};
    auto rowsWithOther = rows;
    rowsWithOther[4].origin = "home";
    std::vector<std::string> names;
    for (const auto& record : snapshotsOf(rowsWithOther, root)) {
        names.push_back(record.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"z", "b", "c", "a"}));
}

TEST(SnapshotRecord, RoundsFillingDownAndAnswersAtLeast100ForAnInvalidSnapshot)
{
    NorvaSnapshot snapshot;
    snapshot.measurable = true;
    snapshot.fillHundredths = 9999;
    EXPECT_EQ(fillingPercent(snapshot), 99U);
    snapshot.fillHundredths = 20098;
    EXPECT_EQ(fillingPercent(snapshot), 200U);
    snapshot.fillHundredths = 4000;
    snapshot.invalid = true;
    EXPECT_EQ(fillingPercent(snapshot), 100U);
    snapshot.invalid = false;
    snapshot.measurable = false;
    EXPECT_EQ(fillingPercent(snapshot), 100U);
}
