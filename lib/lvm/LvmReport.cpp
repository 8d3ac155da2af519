// SPDX-License-Identifier: LGPL-2.1-or-later
#include "LvmReport.h"

#include <boost/json/parse.hpp>
#include <boost/json/value.hpp>
#include <charconv>

namespace {

[[nodiscard]] std::string text(const boost::json::object& row, std::string_view key)
{
    const boost::json::value* value = row.if_contains(key);
    const boost::json::string* string = value == nullptr ? nullptr : value->if_string();
    return string == nullptr ? std::string() : std::string(string->c_str());
}

[[nodiscard]] uint64_t number(const boost::json::object& row, std::string_view key)
{
    const std::string digits = text(row, key);
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

[[nodiscard]] LvRow rowFrom(const boost::json::object& row)
{
    LvRow lv;
    lv.name = text(row, "lv_name");
    lv.vgName = text(row, "vg_name");
    lv.uuid = withoutDashes(text(row, "lv_uuid"));
    lv.vgUuid = withoutDashes(text(row, "vg_uuid"));
    lv.originUuid = withoutDashes(text(row, "origin_uuid"));
    lv.attr = text(row, "lv_attr");
    lv.time = text(row, "lv_time");
    lv.snapPercent = text(row, "snap_percent");
    lv.tags = text(row, "lv_tags");
    lv.size = number(row, "lv_size");
    lv.extentSize = number(row, "vg_extent_size");
    lv.vgFreeCount = number(row, "vg_free_count");
    return lv;
}

// The rows of every "lv" section, each LV once: should lvs ever print an LV on several rows
// (one per segment), the first stands for it.
[[nodiscard]] std::optional<std::vector<LvRow>> parseRows(std::string_view json)
{
    boost::system::error_code error;
    const boost::json::value root = boost::json::parse(json, error);
    const boost::json::object* top = error ? nullptr : root.if_object();
    const boost::json::value* reports = top == nullptr ? nullptr : top->if_contains("report");
    const boost::json::array* list = reports == nullptr ? nullptr : reports->if_array();
    if (list == nullptr) {
        return std::nullopt;
    }
    std::vector<LvRow> rows;
    for (const boost::json::value& report : *list) {
        const boost::json::object* section = report.if_object();
        const boost::json::value* lvs = section == nullptr ? nullptr : section->if_contains("lv");
        const boost::json::array* entries = lvs == nullptr ? nullptr : lvs->if_array();
        if (entries == nullptr) {
            return std::nullopt;
        }
        for (const boost::json::value& entry : *entries) {
            const boost::json::object* object = entry.if_object();
            LvRow row = object == nullptr ? LvRow() : rowFrom(*object);
            const bool seen = std::any_of(rows.begin(), rows.end(),
                                          [&row](const LvRow& lv) { return lv.uuid == row.uuid; });
            if (!row.uuid.empty() && !seen) {
                rows.push_back(std::move(row));
            }
        }
    }
    return rows;
}

} // namespace

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

std::string reportFields()
{
    return "lv_name,vg_name,lv_uuid,vg_uuid,origin_uuid,lv_attr,lv_size,lv_time,snap_percent,"
           "lv_tags,vg_extent_size,vg_free_count";
}

LvmReport::LvmReport(std::vector<LvRow> rows, size_t rootIndex)
    : rows_(std::move(rows)), rootIndex_(rootIndex)
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
    for (size_t i = 0; i < rows->size(); ++i) {
        const LvRow& row = (*rows)[i];
        // A plain volume or an origin takes classic snapshots; an origin with a merging
        // snapshot is still the root, only nothing may change until the merge is done.
        const char type = row.attr.empty() ? '?' : row.attr[0];
        const bool origin = type == '-' || type == 'o' || type == 'O';
        if (row.vgUuid + row.uuid == root.uuid && origin && row.extentSize != 0) {
            return LvmReport(std::move(*rows), i);
        }
    }
    why = "lvm lvs did not report " + root.vgName + "/" + root.lvName +
          " as a volume that can have snapshots";
    return std::nullopt;
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

bool LvmReport::isOurs(const LvRow& row) const
{
    return row.isSnapshot() && row.originUuid == root().uuid && row.vgUuid == root().vgUuid &&
           row.hasTag(kOwnTag);
}
