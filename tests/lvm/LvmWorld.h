#pragma once

#include "LvmSession.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

inline constexpr uint64_t kExtent = uint64_t{4} << 20;
inline constexpr uint64_t kRootSize = 128 * kExtent; // a 512 MiB root volume
inline constexpr uint64_t kNow = 1796549600;
inline constexpr const char* kVgUuid = "RHRvMSfB9KCNFBWIyjngS1z43Guu3uuX";
inline constexpr const char* kRootUuid = "3PufEbON5BA6GNxx29RaNfawkbuoC1Ak";

// A snapshot line of the fake lvm's state (see fake-lvm.cpp): its uuid is its name padded.
[[nodiscard]] std::string lv(const std::string& name, uint64_t extents, const std::string& time,
                             const std::string& tags, const std::string& flags = "-",
                             const std::string& percent = "0.01", int segments = 1,
                             const std::string& origin = kRootUuid);
// One of ours, as the library tags it.
[[nodiscard]] std::string ours(const std::string& name, uint64_t extents, uint64_t time,
                               uint64_t sequence, uint64_t asked = 0, int segments = 1);
[[nodiscard]] std::string uuidOf(const std::string& name);

// A machine whose "/" is vg/root (a 4 MiB-extent VG), seen through files in a temporary
// directory: a mountinfo, a sysfs tree and the fake lvm beside its state. The library's
// session is this fixture's, as a new process of the tool starts it.
class LvmWorld : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void seed(const std::string& lvLines, uint64_t extentCount = 1023) const;
    void failNext(const std::string& command, const std::string& statusAndMessage) const;
    void newProcess();

    [[nodiscard]] std::vector<std::string> calls() const;   // tab-separated argument lists
    [[nodiscard]] std::vector<std::string> changes() const; // the calls that are not lvs
    [[nodiscard]] std::string file(const std::string& name) const;
    [[nodiscard]] std::vector<std::string> listed(); // names in a fresh list, in its order

    std::filesystem::path dir_;
    std::vector<std::string> log_;
    std::unique_ptr<LvmSession> session_;
};

[[nodiscard]] std::vector<SnapshotHandle> handlesOf(SnapshotList list);
