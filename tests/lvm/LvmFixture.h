#pragma once

#include "LvmSession.h"

#include <boost/json/value.hpp>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

inline constexpr uint64_t kMiB = uint64_t{1} << 20;
inline constexpr uint64_t kExtent = 4 * kMiB;
inline constexpr uint64_t kRootExtents = 128; // a 512 MiB root volume
inline constexpr uint64_t kRootSize = kRootExtents * kExtent;
inline constexpr uint64_t kFullExtents = 129; // its largest useful snapshot
inline constexpr uint64_t kNow = 1796549600;
inline constexpr const char* kVgUuid = "RHRvMSfB9KCNFBWIyjngS1z43Guu3uuX";
inline constexpr const char* kRootUuid = "3PufEbON5BA6GNxx29RaNfawkbuoC1Ak";

// One recorded run of the fake lvm.
struct LvmCall {
    std::vector<std::string> argv; // without the program
    std::vector<std::string> env;
    std::vector<std::string> fds;
    std::string stdinTarget;
};

// A snapshot to seed the fake's state with.
struct SeedSnapshot {
    std::string name;
    uint64_t extents = 0;
    std::string time;
    std::string percent = "0.01";
    std::vector<std::string> tags = {};
    bool invalid = false;
    std::string origin = "root";
};

// A machine whose "/" is vg/root, seen through files in a temporary directory: a mountinfo,
// a sysfs tree and the fake lvm beside its state. The library's session is this fixture's.
class LvmFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The VG of `extentCount` 4 MiB extents with the root volume and these snapshots.
    void seed(const std::vector<SeedSnapshot>& snapshots, uint64_t extentCount = 1023);
    void failNext(const std::string& command, int status, const std::string& message) const;
    void makeRootAPlainDisk() const;
    void removeLvm() const;
    // A session as a new process of the tool starts it: nothing found or read yet.
    void startNewProcess();

    [[nodiscard]] std::vector<LvmCall> calls() const;
    [[nodiscard]] std::vector<std::vector<std::string>> argvs() const;
    [[nodiscard]] size_t changeCount() const; // runs of anything but lvs
    [[nodiscard]] boost::json::object lvState(const std::string& name) const;
    [[nodiscard]] std::vector<std::string> lvNames() const;

    std::filesystem::path dir_;
    std::vector<std::string> log_;
    std::unique_ptr<LvmSession> session_;
    uint64_t now_ = kNow;
};

// The list's handles, for tests that hold a list.
[[nodiscard]] std::vector<SnapshotHandle> handlesOf(SnapshotList list);
