// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "LibraryPromises.h"
#include "scripts/ScriptConfig.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

// The world a unit test puts the tool's logic in: the simulated snapshot library (lib/sim, its
// state file in a temporary directory), the kit's fake systemctl first on PATH, the
// configuration file in the same directory, and a clock (World.cpp) that the tool and the
// library share.
inline constexpr uint64_t kDay = 86400;
inline constexpr uint64_t kRoot = 1000; // the root volume's size, in the library's unit
inline constexpr uint64_t kUndated = kStageUndated;
inline constexpr uint64_t kNow = 1796126400; // 2026-12-01 12:00:00 UTC

// A line the tool wrote to the system log, and the simulated library's state when it was written.
struct Logged {
    std::string line;
    std::string state;
};

// One snapshot of the simulated library: its id, its age (kUndated: no creation time), its
// size and how full it is.
struct Snap {
    uint64_t id;
    uint64_t age;
    uint64_t size = kRoot;
    uint64_t fill = 0;
};

// The snapshots in a text of the simulated library's state file, in its order.
[[nodiscard]] inline std::vector<Snap> snapsIn(const std::string& state)
{
    std::vector<Snap> snaps;
    std::istringstream lines(state);
    for (std::string line, kind; std::getline(lines, line);) {
        Snap s{};
        uint64_t created = 0;
        if (std::istringstream(line) >> kind >> s.id >> created >> s.size >> s.fill &&
            kind == "snapshot") {
            s.age = created == 0 ? kUndated : kNow - created;
            snaps.push_back(s);
        }
    }
    return snaps;
}

class World : public ::testing::Test, public LibraryStage {
protected:
    void SetUp() override;
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void stage(const std::vector<Staged>& snapshots, uint64_t freeSpace) override;
    void breakVolumes() override { std::ofstream(dir_ + "/sim") << "not a state\n"; }
    [[nodiscard]] uint64_t now() const override { return kNow; }

    // The library's state: the snapshots oldest first, then further lines of the state file
    // (failures, "vg_free N", "boot_used N"); new snapshots get ids from 10 on. The timer runs
    // and each verb of `failing` makes systemctl fail; no configuration file is there, and the
    // log is empty.
    void seed(const std::vector<Snap>& snapshots, const std::string& more = "",
              const std::vector<std::string>& failing = {}) const
    {
        logged.clear();
        std::filesystem::remove(configPath);
        std::ofstream state(dir_ + "/sim");
        state << "root_size " << kRoot << "\nvg_free 5000\nboot_used 100\nnext_id 10\n";
        for (const Snap& s : snapshots) {
            state << "snapshot " << s.id << " " << (s.age == kUndated ? 0 : kNow - s.age) << " "
                  << s.size << " " << s.fill << "\n";
        }
        state << more << "\n";
        std::filesystem::remove_all(dir_ + "/systemctl");
        std::filesystem::create_directory(dir_ + "/systemctl");
        std::ofstream(dir_ + "/systemctl/active");
        std::ofstream(dir_ + "/systemctl/enabled");
        for (const std::string& verb : failing) {
            std::ofstream(dir_ + "/systemctl/fail-" + verb);
        }
    }
    // The snapshots as "id:size", in the state file's order.
    [[nodiscard]] std::string snapshots() const
    {
        std::string result;
        for (const Snap& s : snapsIn(read(dir_ + "/sim"))) {
            result +=
                (result.empty() ? "" : " ") + std::to_string(s.id) + ":" + std::to_string(s.size);
        }
        return result;
    }
    // "a" when the timer is active, "e" when enabled: "ae", "a-", "-e" or "--".
    [[nodiscard]] std::string timer() const
    {
        return std::string(std::filesystem::exists(dir_ + "/systemctl/active") ? "a" : "-") +
               (std::filesystem::exists(dir_ + "/systemctl/enabled") ? "e" : "-");
    }
    // The configuration file's bytes; "-" when there is none.
    [[nodiscard]] std::string config() const
    {
        return std::filesystem::exists(configPath) ? read(configPath) : "-";
    }

public:
    // What the tool logged since the last seed, and where it keeps its configuration.
    inline static std::vector<Logged> logged;
    inline static std::string configPath;
    static std::string read(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

protected:
    std::string dir_;
};
