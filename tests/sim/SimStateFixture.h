#pragma once

#include "snapshots/norvasnapshots.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

inline constexpr uint64_t kGiB = uint64_t{1} << 30;

// Owns a temporary directory whose state file the simulated library is pointed at.
class SimStateFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "norva-sim-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        statePath_ = (directory_ / "state").string();
        ::setenv("NORVASNAPSHOTS_SIM_STATE", statePath_.c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("NORVASNAPSHOTS_SIM_STATE");
        std::filesystem::remove_all(directory_);
    }

    void writeState(const std::string& text) const { std::ofstream(statePath_) << text; }

    [[nodiscard]] std::string stateText() const
    {
        std::ostringstream text;
        text << std::ifstream(statePath_).rdbuf();
        return text.str();
    }

    std::filesystem::path directory_;
    std::string statePath_;
};

// A held list, released at the end of the test whatever happens in between.
struct ListDeleter {
    void operator()(SnapshotHandle* list) const { free_existing_lvm_snapshots(list); }
};
using HeldList = std::unique_ptr<SnapshotHandle, ListDeleter>;

[[nodiscard]] inline std::vector<SnapshotHandle> handlesOf(const HeldList& list)
{
    std::vector<SnapshotHandle> handles;
    for (SnapshotHandle* entry = list.get(); *entry != nullptr; ++entry) {
        handles.push_back(*entry);
    }
    return handles;
}

[[nodiscard]] inline std::vector<uint64_t> creationTimes(const HeldList& list)
{
    std::vector<uint64_t> times;
    for (SnapshotHandle handle : handlesOf(list)) {
        times.push_back(lvm_snapshot_creation_time(handle));
    }
    return times;
}
