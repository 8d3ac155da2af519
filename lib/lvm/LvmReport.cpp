// SPDX-License-Identifier: LGPL-2.1-or-later
#include "LvmReport.h"

#include "ReportJson.h"

#include <algorithm>
#include <charconv>

namespace {

[[nodiscard]] LvRow rowFrom(const boost::json::object& row)
{
    LvRow lv;
    lv.name = field(row, "lv_name");
    lv.vgName = field(row, "vg_name");
    lv.uuid = withoutDashes(field(row, "lv_uuid"));
    lv.vgUuid = withoutDashes(field(row, "vg_uuid"));
    lv.originUuid = withoutDashes(field(row, "origin_uuid"));
    lv.attr = field(row, "lv_attr");
    lv.time = field(row, "lv_time");
    lv.snapPercent = field(row, "snap_percent");
    lv.tags = field(row, "lv_tags");
    lv.layout = field(row, "lv_layout");
    lv.parent = field(row, "lv_parent");
    lv.merging = !field(row, "lv_merging").empty();
    lv.size = numberField(row, "lv_size");
    lv.extentSize = numberField(row, "vg_extent_size");
    lv.vgFreeCount = numberField(row, "vg_free_count");
    lv.pvCount = numberField(row, "pv_count");
    return lv;
}

// Each LV once: should lvs ever print an LV on several rows (one per segment), the first
// stands for it.
[[nodiscard]] std::optional<std::vector<LvRow>> parseRows(std::string_view json)
{
    const auto objects = reportRows(json, "lv");
    if (!objects) {
        return std::nullopt;
    }
    std::vector<LvRow> rows;
    for (const boost::json::object& object : *objects) {
        LvRow row = rowFrom(object);
        const bool seen = std::any_of(rows.begin(), rows.end(),
                                      [&row](const LvRow& lv) { return lv.uuid == row.uuid; });
        if (!row.uuid.empty() && !seen) {
            rows.push_back(std::move(row));
        }
    }
    return rows;
}

} // namespace

std::optional<uint64_t> decimal(std::string_view digits)
{
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

bool LvRow::hasTag(std::string_view tag) const
{
    std::string_view rest = tags;
    while (!rest.empty()) {
        const size_t comma = std::min(rest.find(','), rest.size());
        if (rest.substr(0, comma) == tag) {
            return true;
        }
        rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
    return false;
}

std::optional<uint64_t> LvRow::numberTag(std::string_view prefix) const
{
    std::string_view rest = tags;
    while (!rest.empty()) {
        const size_t comma = std::min(rest.find(','), rest.size());
        const std::string_view tag = rest.substr(0, comma);
        if (tag.substr(0, prefix.size()) == prefix) {
            return decimal(tag.substr(prefix.size()));
        }
        rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
    return std::nullopt;
}

std::string reportFields()
{
    return "lv_name,vg_name,lv_uuid,vg_uuid,origin_uuid,lv_attr,lv_size,lv_time,snap_percent,"
           "lv_tags,lv_layout,lv_parent,lv_merging,vg_extent_size,vg_free_count,pv_count";
}

LvmReport::LvmReport(std::vector<LvRow> rows, size_t rootIndex, std::vector<std::string> namesakes)
    : rows_(std::move(rows)), rootIndex_(rootIndex), namesakes_(std::move(namesakes))
{
}

std::optional<LvmReport> LvmReport::parse(std::string_view json, const RootIdentity& root,
                                          std::string& why)
{
    std::optional<std::vector<LvRow>> rows = parseRows(json);
    if (!rows) {
        why = "lvm lvs gave no JSON report";
        return std::nullopt;
    }
    const auto isRoot = [&root](const LvRow& row) {
        return row.vgUuid + row.uuid == root.uuid && row.extentSize != 0;
    };
    const auto found = std::find_if(rows->begin(), rows->end(), isRoot);
    if (found == rows->end()) {
        why = "lvm lvs did not report " + root.vgName + "/" + root.lvName;
        return std::nullopt;
    }
    const std::string vgUuid = found->vgUuid;
    std::vector<std::string> namesakes;
    for (const LvRow& row : *rows) {
        if (row.vgUuid != vgUuid &&
            std::find(namesakes.begin(), namesakes.end(), row.vgUuid) == namesakes.end()) {
            namesakes.push_back(row.vgUuid);
        }
    }
    std::erase_if(*rows, [&vgUuid](const LvRow& row) { return row.vgUuid != vgUuid; });
    const auto index =
        static_cast<size_t>(std::find_if(rows->begin(), rows->end(), isRoot) - rows->begin());
    return LvmReport(std::move(*rows), index, std::move(namesakes));
}

const LvRow* LvmReport::find(std::string_view uuid) const
{
    for (const LvRow& row : rows_) {
        if (row.uuid == uuid) {
            return &row;
        }
    }
    return nullptr;
}

bool LvmReport::nameTaken(std::string_view name) const
{
    return std::any_of(rows_.begin(), rows_.end(),
                       [name](const LvRow& row) { return row.name == name; });
}

bool LvRow::hasOurTags() const
{
    return hasTag(kOwnTag) && numberTag(kSizePrefix) && numberTag(kSequencePrefix);
}

bool LvmReport::isOurs(const LvRow& row) const
{
    return row.isSnapshot() && row.originUuid == root().uuid && row.vgUuid == root().vgUuid &&
           row.hasOurTags();
}
