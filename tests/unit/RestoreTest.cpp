// SPDX-License-Identifier: GPL-2.0-or-later
// norva-snapshots-restore's decisions on text: what changed between two dpkg databases and two
// /etc trees, the order of versions and kernels, the look-around boot's command line, and the
// figures of `list`. Which snapshots are restore points, in what state, is the lvm suite's.
#include "restore/BootEntry.h"
#include "restore/DebianVersion.h"
#include "restore/DpkgDatabase.h"
#include "restore/FileTree.h"
#include "restore/Formatting.h"
#include "restore/Kernels.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

TEST(Restore, OrdersVersionsAsDpkgDoes)
{
    // Each sorts before the next.
    std::istringstream versions(
        "1.0~rc1 1.0 1.0a 1.0+ 1.0+b1 1.2 1.10 2.0-1 2.0-1.1 2.0-9 2.0-10 "
        "2.0-1-1 6.1.0-57-amd64 6.1.0-60-amd64 6.9.9-1-amd64 6.10.0-1-amd64 1:0.9");
    std::string lower, higher;
    for (versions >> lower; versions >> higher; lower = higher) {
        EXPECT_LT(compareDebianVersions(lower, higher), 0) << lower << " < " << higher;
        EXPECT_GT(compareDebianVersions(higher, lower), 0) << higher << " > " << lower;
    }
    EXPECT_EQ(compareDebianVersions("1.0", "1.00"), 0);
}

TEST(Restore, TellsPackageChangesFromTwoDatabases)
{
    const auto status = [](const std::string& packages) {
        std::istringstream words(packages);
        std::string text, name, arch, version, state;
        while (words >> name >> arch >> version >> state) {
            text += "Package: " + name + "\nStatus: install ok " + state +
                    "\nPriority: optional\nArchitecture: " + arch + "\nVersion: " + version +
                    "\nDescription: x\n y\n\n";
        }
        return installedPackages(text);
    };
    const PackageSet before = status("dpkg amd64 1.21 installed  bash amd64 5.2-9 installed  "
                                     "old amd64 1 installed  gone amd64 2 config-files  "
                                     "libc6 i386 2.36-9 installed  vim amd64 2:9.0-2 installed");
    const PackageSet after = status("dpkg amd64 1.21 installed  bash amd64 5.2-10 installed  "
                                    "gone amd64 2 unpacked  libc6 i386 2.36-8 installed  "
                                    "norva-dummy all 1.0 installed  vim amd64 2:9.0-2 installed");
    std::string lines;
    for (const PackageChange& change : packageChanges(before, after)) {
        lines += std::to_string(static_cast<int>(change.kind)) + " " + change.name + " " +
                 change.before + ">" + change.after + "\n";
    }
    EXPECT_EQ(lines, "0 gone >2\n0 norva-dummy >1.0\n1 old 1>\n2 bash 5.2-9>5.2-10\n"
                     "3 libc6:i386 2.36-9>2.36-8\n");
}

TEST(Restore, ComparesTreesByFactsAndLeavesDirectoryTimesAlone)
{
    const FileFacts file{'f', 10, 5, 0644, 0, 0, ""}, dir{'d', 4096, 5, 0755, 0, 0, ""};
    const FileTree before{
        {"a", file}, {"b", file}, {"d", dir}, {"l", {'l', 3, 5, 0777, 0, 0, "a"}}, {"gone", file}};
    const FileTree after{{"a", {'f', 10, 6, 0644, 0, 0, ""}},     // touched
                         {"b", file},                             // as it was
                         {"d", {'d', 4096, 9, 0755, 0, 0, ""}},   // only its time changed
                         {"d/new", {'f', 11, 5, 0644, 0, 0, ""}}, // added
                         {"l", {'l', 3, 5, 0777, 0, 0, "b"}}};    // pointed elsewhere
    std::string changes;
    for (const FileChange& change : fileChanges(before, after)) {
        changes += std::to_string(static_cast<int>(change.kind)) + change.path + " ";
    }
    EXPECT_EQ(changes, "2a 0d/new 1gone 2l ");
}

TEST(Restore, SortsKernelsNewestFirstByTheirModules)
{
    const auto dir = std::filesystem::temp_directory_path() / "norva-boot-test";
    std::filesystem::create_directories(dir / "vmlinuz-6.1.0-9-amd64");
    for (const char* name : {"vmlinuz-6.1.0-10-amd64", "vmlinuz-6.1.0-57-amd64", "vmlinuz-X",
                             "initrd.img-6.1.0-57-amd64", "vmlinuz-"}) {
        std::ofstream(dir / name) << "k";
    }
    const KernelCheck check = checkKernels(bootKernels(dir.string()), [](const std::string& v) {
        return v.find("amd64") != std::string::npos;
    });
    std::filesystem::remove_all(dir);
    EXPECT_EQ(check.bootable, (std::vector<std::string>{"6.1.0-57-amd64", "6.1.0-10-amd64"}));
    EXPECT_EQ(check.lacking, std::vector<std::string>{"X"});
}

TEST(Restore, BootsTheRestorePointReadOnlyWithTheRunningOptions)
{
    EXPECT_EQ(lookAroundOptions("BOOT_IMAGE=/vmlinuz-6.1 root=/dev/mapper/vg-root ro "
                                "console=ttyS0,115200 quiet resume=/dev/vg/swap rootflags=x rw\n",
                                "ext4"),
              "ro rootflags=noload fsck.mode=skip noresume systemd.mask=systemd-remount-fs.service "
              "systemd.mask=norva-snapshots.timer console=ttyS0,115200 quiet");
    EXPECT_EQ(lookAroundOptions("root=UUID=1 single systemd.mask=x", "xfs"),
              "ro rootflags=norecovery,nouuid fsck.mode=skip noresume "
              "systemd.mask=systemd-remount-fs.service systemd.mask=norva-snapshots.timer");
}

TEST(Restore, WritesSizesAndAgesInTheirLargestUnits)
{
    const std::pair<uint64_t, const char*> sizes[] = {
        {1023, "1023 B"},       {1024, "1 KiB"},         {1536, "1.5 KiB"},
        {541065216, "516 MiB"}, {1610612736, "1.5 GiB"}, {10 * (uint64_t{1} << 30) - 1, "10 GiB"}};
    for (const auto& [bytes, text] : sizes) {
        EXPECT_EQ(sizeText(bytes), text);
    }
    const std::pair<uint64_t, const char*> ages[] = {
        {59, "59 s"}, {60, "1 min"}, {3599, "59 min"}, {3660, "1 h 1 min"}, {90061, "1 d 1 h"}};
    for (const auto& [seconds, text] : ages) {
        EXPECT_EQ(ageText(seconds), text);
    }
}
