// SPDX-License-Identifier: LGPL-2.1-or-later
#include "PhysicalVolumes.h"

#include "ReportJson.h"

#include <algorithm>

namespace {

// "root_rimage_0(0),/dev/vda2(384)" -> {"root_rimage_0", "/dev/vda2"}
[[nodiscard]] std::vector<std::string> deviceNames(std::string_view devices)
{
    std::vector<std::string> names;
    while (!devices.empty()) {
        const size_t comma = std::min(devices.find(','), devices.size());
        const std::string_view entry = devices.substr(0, comma);
        names.emplace_back(entry.substr(0, entry.find('(')));
        devices.remove_prefix(std::min(comma + 1, devices.size()));
    }
    return names;
}

// lvs -a shows hidden LVs in brackets ("[root_rimage_0]"), devices names them without.
[[nodiscard]] std::string plainName(std::string name)
{
    if (name.size() > 1 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
    }
    return name;
}

template <typename List, typename Value> bool contains(const List& list, const Value& value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

std::optional<std::vector<PhysicalVolume>> parsePhysicalVolumes(std::string_view json)
{
    const auto rows = reportRows(json, "pv");
    if (!rows) {
        return std::nullopt;
    }
    std::vector<PhysicalVolume> volumes;
    for (const boost::json::object& row : *rows) {
        volumes.push_back({field(row, "pv_name"), numberField(row, "pv_free")});
    }
    return volumes;
}

std::optional<std::vector<std::string>> volumePvs(std::string_view json, const std::string& lv)
{
    const auto rows = reportRows(json, "lv");
    if (!rows) {
        return std::nullopt;
    }
    std::vector<std::string> pvs;
    std::vector<std::string> volumes{lv};
    for (size_t next = 0; next < volumes.size(); ++next) {
        for (const boost::json::object& row : *rows) {
            if (plainName(field(row, "lv_name")) != volumes[next]) {
                continue;
            }
            auto names = deviceNames(field(row, "devices"));
            const auto metadata = deviceNames(field(row, "metadata_devices"));
            names.insert(names.end(), metadata.begin(), metadata.end());
            for (const std::string& name : names) {
                auto& list = name.starts_with('/') ? pvs : volumes;
                if (!contains(list, name)) {
                    list.push_back(name);
                }
            }
        }
    }
    return pvs;
}

Placement placeSnapshot(const std::vector<PhysicalVolume>& volumes,
                        const std::vector<std::string>& rootPvs, uint64_t bytes)
{
    Placement placement;
    for (const PhysicalVolume& volume : volumes) {
        if (contains(rootPvs, volume.name)) {
            placement.freeOnRoot += volume.freeBytes;
            placement.pvs.push_back(volume.name);
        }
    }
    placement.elsewhere = placement.freeOnRoot < bytes;
    if (placement.elsewhere || placement.pvs.size() == volumes.size()) {
        placement.pvs.clear();
    }
    return placement;
}
