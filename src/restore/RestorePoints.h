// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "LvmReport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A restore point is a snapshot of the root volume that the snapshot library made: the library
// decides which those are (its tag, the root as origin), and this program lists exactly those,
// plus the one LVM is merging back into the root, which the library no longer lists.
enum class PointState {
    Usable,     // dated, active and at most 99 % full: it can be read and rolled back to
    Overflowed, // LVM invalidated it, or it is more than 99 % full
    Invalid,    // no creation time, or inactive: nothing vouches for its content
    Merging,    // lvconvert --merge is rolling it back into the root
};

struct RestorePoint {
    std::string name;
    std::string vgName;
    std::string uuid;
    uint64_t taken = 0; // seconds since the epoch; 0 when LVM has no creation time
    uint64_t size = 0;  // bytes allocated for its copy-on-write area
    uint64_t fillingPercent = 0;
    PointState state = PointState::Invalid;
    bool fullSized = false; // as large as the root volume, as the scripts count it

    [[nodiscard]] std::string fullName() const { return vgName + "/" + name; }
    // Its block device under /dev/mapper.
    [[nodiscard]] std::string device() const;
};

// The restore points of one report: the library's, oldest first, then the one being merged back.
[[nodiscard]] std::vector<RestorePoint> restorePoints(const LvmReport& report);

// The root volume and its restore points as LVM reports them now.
class RestoreVolumes {
public:
    // Finds the LV of "/" and reads its VG with lvs; empty, with `why` in words, when "/" is
    // not an LV that can have snapshots or lvm cannot report it.
    [[nodiscard]] static std::optional<RestoreVolumes> read(std::string& why);

    [[nodiscard]] const std::vector<RestorePoint>& points() const { return points_; }
    // The restore point called `name` ("root_snap_..." or "vg/root_snap_..."); null if none is.
    [[nodiscard]] const RestorePoint* find(std::string_view name) const;
    [[nodiscard]] bool mergePending() const { return report_.rollbackPending(); }
    [[nodiscard]] std::string rootName() const;
    [[nodiscard]] uint64_t rootSize() const { return report_.root().size; }

private:
    explicit RestoreVolumes(LvmReport report);

    LvmReport report_;
    std::vector<RestorePoint> points_;
};

// Runs one lvm command that changes something; false with lvm's own message in `why`.
[[nodiscard]] bool runLvmChange(const std::vector<std::string>& command, std::string& why);
