// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One PV of the root's volume group as pvs reports it.
struct PhysicalVolume {
    std::string name; // "/dev/vda2"; "[unknown]" while the device is missing
    uint64_t freeBytes = 0;
};

// pvs's JSON report (pv_name, pv_free in bytes); nullopt when the text is none.
[[nodiscard]] std::optional<std::vector<PhysicalVolume>>
parsePhysicalVolumes(std::string_view json);

// The PVs that the LV `lv` lies on, its hidden parts included (RAID images and metadata, a
// mirror's legs, a cache's origin), from lvs -a's JSON report of devices and metadata_devices,
// a row per segment; nullopt when the text is no report.
[[nodiscard]] std::optional<std::vector<std::string>> volumePvs(std::string_view json,
                                                                const std::string& lv);

// Where a new snapshot of `bytes` goes: on the PVs that hold the root when they have the room
// (a snapshot elsewhere makes the root's activation depend on another disk), else wherever
// LVM finds it. An empty `pvs` lets LVM choose.
struct Placement {
    std::vector<std::string> pvs;
    bool elsewhere = false; // the root's PVs lack the room
    uint64_t freeOnRoot = 0;
};
[[nodiscard]] Placement placeSnapshot(const std::vector<PhysicalVolume>& volumes,
                                      const std::vector<std::string>& rootPvs, uint64_t bytes);
