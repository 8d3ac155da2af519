// SPDX-License-Identifier: GPL-2.0-or-later
// The LVM2 snapshot library against the fake lvm (fake-lvm): what it lists, what it runs, what it
// refuses, and that nothing of the caller reaches lvm; the companion's restore points, read with
// the library's pieces, beside what it lists.
#include "LibraryPromises.h"
#include "LvmSession.h"
#include "PhysicalVolumes.h"
#include "RootDevice.h"
#include "RootLayout.h"
#include "SnapshotRecord.h"
#include "restore/PointTable.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <sstream>
#include <unistd.h>

using testing::HasSubstr;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

constexpr uint64_t kExtent = uint64_t{4} << 20;
constexpr uint64_t kRootSize = 128 * kExtent; // a 512 MiB root volume
constexpr uint64_t kFull = 129;               // extents of its largest useful snapshot
constexpr uint64_t kNow = 1796549600;
constexpr const char* kVgUuid = "RHRvMSfB9KCNFBWIyjngS1z43Guu3uuX";
constexpr const char* kRootUuid = "3PufEbON5BA6GNxx29RaNfawkbuoC1Ak";
const std::string kFullTags =
    "norvasnap,norvasnap_size_" + std::to_string(kRootSize) + ",norvasnap_seq_0";
LvmSession* current = nullptr;

[[nodiscard]] std::string uuidOf(const std::string& name)
{
    return name + std::string(32 - name.size(), 'u');
}

// A line of the fake's state: an LV whose uuid is its name padded.
[[nodiscard]] std::string lv(const std::string& name, uint64_t extents, const std::string& time,
                             const std::string& tags, const std::string& flags = "-",
                             const std::string& percent = "0.01",
                             const std::string& origin = kRootUuid)
{
    return "lv " + name + " " + uuidOf(name) + " " + std::to_string(extents) + " " + origin + " " +
           time + " " + percent + " " + flags + " 1 " + tags + "\n";
}

// One of ours, `age` seconds old (kStageUndated: no time), tagged as the library tags it.
[[nodiscard]] std::string ours(const std::string& name, uint64_t extents, uint64_t age,
                               uint64_t sequence, uint64_t asked = kRootSize)
{
    return lv(name, extents, age == kStageUndated ? "-" : std::to_string(kNow - age),
              "norvasnap,norvasnap_size_" + std::to_string(asked) + ",norvasnap_seq_" +
                  std::to_string(sequence));
}

} // namespace

LvmSession& currentSession()
{
    return *current;
}

// A machine whose "/" is vg/root in a 4 MiB-extent VG, seen through files in a temporary
// directory: a mountinfo, a sysfs tree and the fake lvm beside its state. The library's session
// is this fixture's, as a new process of the tool starts it.
class Lvm : public ::testing::Test, public LibraryStage {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "norva-lvm-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::create_symlink(NORVA_FAKE_LVM, dir_ / "lvm");
        std::ofstream(dir_ / "mountinfo") << "22 1 254:1 / /boot rw - ext4 /dev/vda1 rw\n"
                                          << "39 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n";
        fs::create_directories(dir_ / "sys/dev/block/253:0/dm");
        std::ofstream(dir_ / "sys/dev/block/253:0/dm/name") << "vg-root\n";
        std::ofstream(dir_ / "sys/dev/block/253:0/dm/uuid") << "LVM-" << kVgUuid << kRootUuid;
        seed("");
        newProcess();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void stage(const std::vector<Staged>& snapshots, uint64_t freeSpace) override
    {
        std::string lines;
        uint64_t used = 0;
        for (const Staged& s : snapshots) {
            const uint64_t extents = s.size == 0 ? kFull : s.size / kExtent;
            used += extents;
            lines += ours("s" + std::to_string(used), extents, s.age, used,
                          s.size == 0 ? kRootSize : s.size);
        }
        seed(lines, 128 + used + freeSpace / kExtent);
        newProcess();
    }
    void breakVolumes() override { std::ofstream(dir_ / "fail-lvs") << "5 lvs cannot read vg"; }
    [[nodiscard]] uint64_t now() const override { return kNow; }

    void newProcess()
    {
        session_ = std::make_unique<LvmSession>(
            SystemPaths{(dir_ / "lvm").string(), (dir_ / "mountinfo").string(),
                        (dir_ / "sys").string(), dir_.string()},
            [this](int, const std::string& line) { log_ += line + "\n"; }, [] { return kNow; });
        current = session_.get();
    }
    void seed(const std::string& lvLines, uint64_t extentCount = 1023,
              const std::string& rootFlags = "-") const
    {
        std::ofstream(dir_ / "state")
            << "vg vg " << kVgUuid << " " << kExtent << " " << extentCount << " " << kNow
            << "\nlv root " << kRootUuid << " 128 - 1796540000 - " << rootFlags << " 1 -\n"
            << lvLines;
    }
    [[nodiscard]] std::string file(const std::string& name) const
    {
        std::ostringstream text;
        text << std::ifstream(dir_ / name).rdbuf();
        return text.str();
    }
    [[nodiscard]] std::string listed() // the names in a fresh list, in its order
    {
        std::string names;
        const SnapshotList list = existing_lvm_snapshots();
        for (const SnapshotHandle* entry = list; *entry != nullptr; ++entry) {
            names += (names.empty() ? "" : " ") + (*entry)->name;
        }
        free_existing_lvm_snapshots(list);
        return names;
    }

    fs::path dir_;
    std::string log_;
    std::unique_ptr<LvmSession> session_;
};

// Which LVs are the library's snapshots of the root, oldest first, and which the companion's
// restore points: those and the one being merged back. Nothing changes while it merges, and one
// lvs serves the whole process until it changes something itself.
TEST_F(Lvm, ListsOursAndChangesNothingWhileOneMergesBack)
{
    seed(lv("snap", kFull, "1796549500", kFullTags, "-", "99.99") +
             lv("undated", 4, "-", kFullTags) + ours("grown", 6, 50, 4, 4 * kExtent) +
             lv("manual", 25, "1796549000", "-") + lv("tool", 25, "1796549000", "other,backup") +
             lv("handed", 25, "1796549000", "norvasnap") + // tagged by hand: not ours
             lv("home", 10, "1796540000", "-", "-", "-", "-") +
             lv("home_snap", 4, "1796549000", "norvasnap", "-", "0.01", uuidOf("home")) +
             lv("over", 4, "1796549100", kFullTags, "-", "100") +
             lv("bad", 4, "1796549200", kFullTags, "I") +
             lv("off", 4, "1796549300", kFullTags, "-", "-") + // inactive
             lv("back", kFull, "1796548000", kFullTags, "M") +
             lv("handback", 4, "1796548000", "norvasnap", "M"), // merging, tagged by hand
         1023, "R");
    EXPECT_EQ(listed(), "undated over bad off snap grown");
    std::string points;
    for (const RestorePoint& point : restorePoints(*session_->report("restore"))) {
        points += point.fullName() + " " + stateWord(point.state) + " " +
                  std::to_string(point.fillingPercent) + (point.fullSized ? "% full, " : "%, ");
    }
    EXPECT_EQ(points, "vg/undated invalid 0%, vg/over overflowed 100%, vg/bad overflowed 100%, "
                      "vg/off invalid 100%, vg/snap usable 99% full, vg/grown usable 0%, "
                      "vg/back merging 0% full, ");
    const SnapshotList list = existing_lvm_snapshots();
    EXPECT_EQ(lvm_snapshot_size(list[5]), 4 * kExtent); // grown by LVM: the asked size
    EXPECT_EQ(root_vg_free_space(), (1023 - 128 - 2 * kFull - 6 * 4 - 6 - 3 * 25 - 10) * kExtent);
    EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_MERGE_PENDING);
    EXPECT_FALSE(create_lvm_snapshot(kExtent));
    EXPECT_FALSE(resize_lvm_snapshot(list[4], kExtent));
    EXPECT_FALSE(remove_lvm_snapshot(list[4]));
    free_existing_lvm_snapshots(list);
    EXPECT_EQ(file("calls"), "lvs\t-a\t--config\treport/time_format=\"%s\"\t--reportformat\tjson\t"
                             "--units\tb\t--nosuffix\t-o\t" +
                                 reportFields() + "\t-S\tvg_name=\"vg\"\n");
    EXPECT_THAT(log_, HasSubstr("a snapshot is being merged back into vg/root"));
}

TEST_F(Lvm, KeepsTheLibraryPromises)
{
    expectLibraryPromises(*this);
}

// Each LV once, whatever lvs printed, and only those of the root's VG: another VG of the same
// name (a disk from another machine) is only named as such.
TEST(LvmReport, KeepsEachVolumeOfTheRootsGroupOnce)
{
    const std::string root = R"({"lv_name":"root","vg_name":"vg","lv_uuid":"r","vg_uuid":"v",)"
                             R"("lv_attr":"owi-aos---","lv_size":"4","vg_extent_size":"4"})";
    const std::string snap = R"({"lv_name":"s","vg_name":"vg","lv_uuid":"s","vg_uuid":"v",)"
                             R"("origin_uuid":"r","lv_attr":"swi-a-s---","lv_tags":")" +
                             kFullTags + R"(","vg_extent_size":"4"})";
    const std::string other = R"({"lv_name":"root","vg_name":"vg","lv_uuid":"o","vg_uuid":"w",)"
                              R"("lv_attr":"-wi-------","lv_size":"4","vg_extent_size":"4"})";
    std::string why;
    const auto report = LvmReport::parse(R"({"report":[{"lv":[)" + other + "," + root + "," + snap +
                                             "," + snap + "," + root + "," + snap + "]}]}",
                                         RootIdentity{"vg", "root", "vr"}, why);
    ASSERT_TRUE(report) << why;
    EXPECT_EQ(report->rows().size(), 2U);
    EXPECT_EQ(report->root().uuid, "r");
    EXPECT_EQ(report->namesakes(), Names{"w"});
    EXPECT_EQ(ourSnapshots(*report).size(), 1U);
    EXPECT_FALSE(LvmReport::parse(R"({"report":[{"lv":[)" + snap + "]}]}",
                                  RootIdentity{"vg", "root", "vr"}, why));
    EXPECT_THAT(why, HasSubstr("did not report vg/root"));
}

// The layouts of "/" that LVM takes classic snapshots of, and the others, refused alike.
TEST(RootLayout, TakesSnapshotsOfTheLayoutsLvmTakesThemOf)
{
    const struct {
        std::string layout, attr, part; // part: the layout of a hidden part of the root
        bool supported;
    } rows[] = {
        {"linear", "-wi-ao----", "", true},
        {"striped", "-wi-ao----", "", true},
        {"raid,raid1", "rwi-aor---", "linear", true},
        {"mirror", "mwi-aom---", "", true},
        {"cache", "Cwi-aoC---", "", true},
        {"raid,raid1", "rwi-aor---", "integrity", false},
        {"thin,sparse", "Vwi-aotz--", "", false},
        {"vdo", "vwi-a-v---", "", false},
        {"linear", "swi-a-s---", "", false}, // booted from a snapshot
    };
    for (const auto& row : rows) {
        const std::string json = R"({"report":[{"lv":[{"lv_name":"root","lv_uuid":"r",)"
                                 R"("vg_uuid":"v","vg_extent_size":"4","lv_attr":")" +
                                 row.attr + R"(","lv_layout":")" + row.layout +
                                 R"("},{"lv_name":"[root_rimage_0]","lv_uuid":"p","vg_uuid":"v",)"
                                 R"("lv_parent":"root","lv_layout":")" +
                                 row.part + R"("}]}]})";
        std::string why;
        const auto report = LvmReport::parse(json, RootIdentity{"vg", "root", "vr"}, why);
        ASSERT_TRUE(report) << why;
        EXPECT_EQ(rootRefusal(*report).empty(), row.supported) << row.layout << " " << row.part;
    }
}

// Only the devices of the root's LV, through its hidden parts, and the place of a snapshot.
TEST(PhysicalVolumes, PutsASnapshotOnTheRootsPvsWhenTheyHaveTheRoom)
{
    const auto devices = [](const std::string& rows) {
        return volumePvs(R"j({"report":[{"lv":[)j" + rows + "]}]}", "root").value_or(Names{"?"});
    };
    EXPECT_EQ(devices(R"j({"lv_name":"root","devices":"root_rimage_0(0),root_rimage_1(0)",)j"
                      R"j("metadata_devices":"root_rmeta_0(0)"},)j"
                      R"j({"lv_name":"[root_rimage_0]","devices":"/dev/vda2(1)"},)j"
                      R"j({"lv_name":"[root_rimage_1]","devices":"/dev/vdb(1)"},)j"
                      R"j({"lv_name":"[root_rmeta_0]","devices":"/dev/vdd(0)"},)j"
                      R"j({"lv_name":"home","devices":"/dev/vdc(0)"})j"),
              (Names{"/dev/vda2", "/dev/vdb", "/dev/vdd"}));
    EXPECT_EQ(devices(R"j({"lv_name":"root","devices":"/dev/vda2(0)"},)j"
                      R"j({"lv_name":"root","devices":"/dev/vdc(9)"})j"),
              (Names{"/dev/vda2", "/dev/vdc"}));
    const std::vector<PhysicalVolume> volumes{
        {"/dev/vda2", 10}, {"/dev/vdb", 100}, {"[unknown]", 50}};
    const Names root{"/dev/vda2"};
    EXPECT_EQ(placeSnapshot(volumes, root, 10).pvs, root);
    EXPECT_FALSE(placeSnapshot(volumes, root, 10).elsewhere);
    EXPECT_EQ(placeSnapshot(volumes, root, 11).pvs, Names{});
    EXPECT_TRUE(placeSnapshot(volumes, root, 11).elsewhere);
    EXPECT_EQ(placeSnapshot(volumes, {"/dev/vda2", "/dev/vdb", "[unknown]"}, 11).pvs, Names{});
}

TEST_F(Lvm, AnswersWhetherASnapshotFitsInWholeExtents)
{
    const struct {
        uint64_t freeExtents;
        uint64_t size;
        int32_t code;
    } rows[] = {
        {kFull, 0, NORVA_CAN_CREATE},           {kFull - 1, 0, NORVA_NO_SPACE},
        {kFull - 1, kRootSize, NORVA_NO_SPACE}, // the root's size is full-sized too
        {1, kExtent, NORVA_CAN_CREATE},         {1, kExtent - 1, NORVA_TOO_SMALL},
        {2, 3 * kExtent - 1, NORVA_CAN_CREATE}, // rounds down to 2 extents
        {2, 3 * kExtent, NORVA_NO_SPACE},
    };
    for (const auto& row : rows) {
        seed("", 128 + row.freeExtents);
        newProcess();
        EXPECT_EQ(can_create_lvm_snapshot(row.size), row.code)
            << row.freeExtents << " " << row.size;
    }
    EXPECT_THAT(log_, HasSubstr("has 2 free extents, 3 needed"));
}

TEST_F(Lvm, CreatesTaggedSnapshotsOfTheAskedExtents)
{
    seed(ours("a", 4, 60, 4, 4 * kExtent), 1023, "R"); // a RAID root is one like any other
    ASSERT_TRUE(create_lvm_snapshot(3 * kExtent + 5));
    ASSERT_TRUE(create_lvm_snapshot(0));
    EXPECT_EQ(root_vg_free_space(), (1023 - 128 - 4 - 3 - kFull) * kExtent);
    EXPECT_EQ(file("changes"),
              "lvcreate\t-y\t-s\t-c\t4k\t-l\t3\t-n\troot_snap_1796549600\t--addtag\tnorvasnap\t"
              "--addtag\tnorvasnap_size_12582917\t--addtag\tnorvasnap_seq_5\t--addtag\t"
              "norvasnap_chunk_4096\tvg/root\n"
              "lvcreate\t-y\t-s\t-c\t4k\t-l\t129\t-n\troot_snap_1796549600_1\t--addtag\tnorvasnap\t"
              "--addtag\tnorvasnap_size_536870912\t--addtag\tnorvasnap_seq_6\t--addtag\t"
              "norvasnap_chunk_4096\tvg/root\n");
}

// What happened to the listed snapshot "a" between the listing and its removal, and what the
// removal then does. The removal of "x" first makes this process read the VG again.
TEST_F(Lvm, RemovesOnlyTheVolumeItListed)
{
    const std::string a = ours("a", 4, 60, 2);
    const struct {
        std::string after;
        std::string removal; // the lvremove run, or empty: refused
    } rows[] = {
        {a, "lvremove\t-y\tvg/a\n"},
        {lv("b", 4, "1796549540", "norvasnap"), ""},                // another LV now, another uuid
        {"lv renamed" + a.substr(4), "lvremove\t-y\tvg/renamed\n"}, // same uuid, new name
        {lv("a", 4, "1796549540", "-"), ""},                        // the tag taken away
        {lv("a", 4, "1796549540", "norvasnap", "M"), ""},           // merging back now
        {"", ""},                                                   // gone
    };
    for (const auto& row : rows) {
        std::filesystem::remove(dir_ / "changes");
        seed(ours("x", 4, 90, 1) + a);
        newProcess();
        const SnapshotList list = existing_lvm_snapshots();
        ASSERT_TRUE(remove_lvm_snapshot(list[0]));
        seed(row.after);
        EXPECT_EQ(remove_lvm_snapshot(list[1]), !row.removal.empty()) << row.after;
        EXPECT_EQ(file("changes"), "lvremove\t-y\tvg/x\n" + row.removal) << row.after;
        free_existing_lvm_snapshots(list);
    }
}

TEST_F(Lvm, ResizesOnlyWhatItCanSave)
{
    const auto tags = [](uint64_t extents) {
        return "norvasnap,norvasnap_seq_1,norvasnap_size_" + std::to_string(extents * kExtent);
    };
    const auto retag = [](uint64_t from, uint64_t to) {
        return "lvchange\t--deltag\tnorvasnap_size_" + std::to_string(from * kExtent) +
               "\t--addtag\tnorvasnap_size_" + std::to_string(to * kExtent) + "\tvg/a\n";
    };
    const struct {
        std::string snapshot;
        uint64_t size;
        bool done;
        std::string changes; // the lvm runs
    } rows[] = {
        {lv("a", 4, "1796549000", tags(4)), 0, true,
         "lvresize\t-y\t-l\t129\tvg/a\n" + retag(4, 128)},
        {lv("a", kFull, "1796549000", kFullTags), 0, true, ""},
        {lv("a", 10, "1796549000", tags(10), "-", "50.00"), 5 * kExtent, false, ""}, // holds 5
        {lv("a", 10, "1796549000", tags(10), "-", "50.00"), 6 * kExtent, true,
         "lvresize\t-y\t-l\t6\tvg/a\n" + retag(10, 6)},
        // Grown by LVM from 4 extents to 10: what LVM gave it stays.
        {lv("a", 10, "1796549000", tags(4), "-", "50.00"), 2 * kExtent, true, retag(4, 2)},
        {lv("a", 4, "1796549000", tags(4), "I", "100.00"), 0, false, ""},
        {lv("a", 4, "1796549000", tags(4), "-", "-"), 0, false, ""}, // inactive
        {lv("a", 4, "1796549000", tags(4)), kExtent - 1, false, ""},
    };
    for (const auto& row : rows) {
        std::filesystem::remove(dir_ / "changes");
        seed(row.snapshot);
        newProcess();
        const SnapshotList list = existing_lvm_snapshots();
        EXPECT_EQ(resize_lvm_snapshot(list[0], row.size), row.done) << row.snapshot;
        EXPECT_EQ(file("changes"), row.changes) << row.snapshot;
        free_existing_lvm_snapshots(list);
    }
}

TEST(RootDevice, FindsTheLogicalVolumeMountedAsSlash)
{
    EXPECT_EQ(rootDeviceNumber("22 1 254:1 / /boot rw - ext4 /dev/vda1 rw\n"
                               "1 0 254:0 / / rw - ext4 /dev/vda rw\n"
                               "39 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n"),
              "253:0");
    EXPECT_EQ(rootDeviceNumber("22 1 254:1 / /boot rw - ext4 /dev/vda1 rw\n"), std::nullopt);
    const std::string uuid = std::string("LVM-") + kVgUuid + kRootUuid;
    const auto dashed = identityFromDeviceMapper("my--vg-root--fs", uuid);
    ASSERT_TRUE(dashed);
    EXPECT_EQ(dashed->vgName + "/" + dashed->lvName, "my-vg/root-fs");
    EXPECT_EQ(dashed->uuid, std::string(kVgUuid) + kRootUuid);
    EXPECT_FALSE(identityFromDeviceMapper("vg-root-real", uuid));
    EXPECT_FALSE(identityFromDeviceMapper("vg-root", "CRYPT-LUKS2-abc"));
    RestorePoint point; // the companion names a restore point's device as device-mapper does
    point.name = "root_snap-1";
    point.vgName = "my-vg";
    EXPECT_EQ(point.device(), "/dev/mapper/my--vg-root_snap--1");
}

// Where "/" is a thin LV, of which LVM takes no classic snapshot, or no LV at all, everything
// fails as where there is no root volume: lvs runs once for the thin root, lvm never for the other.
TEST_F(Lvm, WithoutARootVolumeEverythingFails)
{
    seed("", 1023, "T");
    for (const long lvsRuns : {1, 0}) {
        std::filesystem::remove(dir_ / "calls");
        newProcess();
        EXPECT_EQ(listed(), "");
        EXPECT_EQ(can_create_lvm_snapshot(0), NORVA_NO_ROOT_VOLUME);
        EXPECT_FALSE(create_lvm_snapshot(0));
        EXPECT_EQ(root_volume_size(), 0U);
        EXPECT_EQ(root_vg_free_space(), 0U);
        EXPECT_EQ(boot_partition_used_space(), 0U);
        EXPECT_EQ(std::ranges::count(file("calls"), '\n'), lvsRuns);
        std::ofstream(dir_ / "mountinfo") << "39 1 254:0 / / rw - ext4 /dev/vda rw\n";
    }
    EXPECT_THAT(log_, HasSubstr("vg/root is a thin volume"));
}

TEST_F(Lvm, RunsLvmWithNothingOfOursAndKeepsItsComplaintsInTheLog)
{
    const int leaked = ::open("/dev/zero", O_RDONLY); // without close-on-exec, as ifstream does
    ::dup2(leaked, 0); // and a standard input that lvm must not read (ctest's is /dev/null)
    ::setenv("LD_PRELOAD", "libfaketime.so.1", 1);
    EXPECT_EQ(listed(), "");
    ::unsetenv("LD_PRELOAD");
    ::close(leaked);
    EXPECT_EQ(file("child"),
              "LC_ALL=C\nPATH=/usr/sbin:/usr/bin:/sbin:/bin\n"
              "LVM_SUPPRESS_FD_WARNINGS=1\nfds 5\nstdin /dev/null\n"); // 0-2 and the shell's two

    std::ofstream(dir_ / "fail-lvcreate") << "5 Volume group \"vg\" has insufficient free space.";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(create_lvm_snapshot(0));
    EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(), "");
    EXPECT_THAT(log_, HasSubstr("create_lvm_snapshot: lvm lvcreate failed (exit status "
                                "5): Volume group \"vg\" has insufficient free space."));
    EXPECT_EQ(root_vg_free_space(), (1023 - 128) * kExtent);
    // lvs, lvcreate, and lvs again: a failed change may have changed something.
    EXPECT_EQ(std::ranges::count(file("calls"), '\n'), 3);
    std::ofstream(dir_ / "fail-lvs") << "kill";
    newProcess();
    EXPECT_EQ(listed(), "");
    EXPECT_THAT(log_, HasSubstr("lvm lvs failed (exit status -1)"));
}

// The figures the lists' fill and the restore points' states come from are the listing test's.
TEST(SnapshotSizes, FullSizeAndUsedSpace)
{
    EXPECT_EQ(fullSnapshotExtents({4096, 1 << 20, 4096}), 259U); // header, 256, full area, end
    EXPECT_EQ(percentHundredths("0.5"), 50U);
    EXPECT_EQ(usedBytes(uint64_t{1} << 60, 10000), uint64_t{1} << 60);
    EXPECT_EQ(usedBytes(10, 1), 1U); // rounded up
}
