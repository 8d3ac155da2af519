#include "LvmReport.h"

#include "RootDevice.h"

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
    lv.attr = text(row, "lv_attr");
    lv.origin = text(row, "origin");
    lv.time = text(row, "lv_time");
    lv.snapPercent = text(row, "snap_percent");
    lv.tags = text(row, "lv_tags");
    lv.size = number(row, "lv_size");
    lv.originSize = number(row, "origin_size");
    lv.chunkSize = number(row, "chunk_size");
    lv.extentSize = number(row, "vg_extent_size");
    lv.vgFreeCount = number(row, "vg_free_count");
    return lv;
}

} // namespace

std::string reportFields()
{
    return "lv_name,vg_name,lv_uuid,vg_uuid,lv_attr,lv_size,origin,origin_size,lv_time,"
           "snap_percent,chunk_size,lv_tags,vg_extent_size,vg_free_count";
}

std::optional<std::vector<LvRow>> parseReport(std::string_view json)
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
            if (const boost::json::object* row = entry.if_object()) {
                rows.push_back(rowFrom(*row));
            }
        }
    }
    return rows;
}
