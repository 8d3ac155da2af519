// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The whole environment lvm runs with: nothing of the calling program's (no LD_PRELOAD, no
// locale, no LVM_* settings) reaches it. LVM_SUPPRESS_FD_WARNINGS keeps a descriptor that a
// caller forgot to close from turning into noise on lvm's standard error.
[[nodiscard]] std::vector<std::string> lvmEnvironment();

// The command lines, each without the program: lvm's first argument is the command.
// Reports select the VG instead of naming it: LVM refuses a name that two VGs share.
[[nodiscard]] std::vector<std::string> reportCommand(const std::string& vg);
[[nodiscard]] std::vector<std::string> volumesCommand(const std::string& vgUuid);
[[nodiscard]] std::vector<std::string> devicesCommand(const std::string& vgUuid);

struct NewSnapshot {
    std::string vg;
    std::string origin;
    std::string name;
    uint64_t extents = 0;
    uint64_t askedSize = 0;
    uint64_t sequence = 0;
    std::vector<std::string> pvs; // where LVM may allocate it; empty: anywhere in the VG
};
[[nodiscard]] std::vector<std::string> createCommand(const NewSnapshot& snapshot);

[[nodiscard]] std::vector<std::string> resizeCommand(const std::string& vg, const std::string& lv,
                                                     uint64_t extents);

// Replaces the size tag (if there is one) by the tag of `askedSize`.
[[nodiscard]] std::vector<std::string> retagCommand(const std::string& vg, const std::string& lv,
                                                    std::optional<uint64_t> oldSize,
                                                    uint64_t askedSize);

[[nodiscard]] std::vector<std::string> removeCommand(const std::string& vg, const std::string& lv);
