// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The world a unit test puts the tool's logic in: the simulated snapshot library (lib/sim, its
// state file in a temporary directory), the kit's fake systemctl first on PATH, the
// configuration file in the same directory and a clock that the tool and the library share.
inline constexpr uint64_t kDay = 86400;
inline constexpr uint64_t kRoot = 1000; // the root volume's size, in the library's unit
inline constexpr uint64_t kUndated = UINT64_MAX;

// One snapshot of the simulated library: its id, its age (kUndated: no creation time), its
// size and how full it is.
struct Snap {
    uint64_t id;
    uint64_t age;
    uint64_t size = kRoot;
    uint64_t fill = 0;
};

class World : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The library's state: the snapshots oldest first, then further lines of the state file
    // (failures, "vg_free N", "boot_used N"). New snapshots get ids from 10 on. No
    // configuration file is left.
    void seed(const std::vector<Snap>& snapshots, const std::string& more = "") const;
    // The snapshots as "id:size", oldest first; the injected failures not yet used up.
    [[nodiscard]] std::string snapshots() const;
    [[nodiscard]] std::string pendingFailures() const;
    [[nodiscard]] std::string stateText() const;
    // The timer: "a" when active, "e" when enabled ("ae", "a-", "-e", "--"); a verb listed in
    // `failing` makes systemctl fail for it.
    void timer(const std::string& state, const std::vector<std::string>& failing = {}) const;
    [[nodiscard]] std::string timer() const;
    [[nodiscard]] std::string config() const; // the file's bytes; "-" when there is none
    void writeConfig(const std::string& bytes) const;

    std::string dir_;
};
