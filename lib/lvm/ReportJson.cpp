// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ReportJson.h"

#include <boost/json/parse.hpp>
#include <boost/json/value.hpp>
#include <charconv>

std::optional<std::vector<boost::json::object>> reportRows(std::string_view json,
                                                           std::string_view kind)
{
    boost::system::error_code error;
    const boost::json::value root = boost::json::parse(json, error);
    const boost::json::object* top = error ? nullptr : root.if_object();
    const boost::json::value* reports = top == nullptr ? nullptr : top->if_contains("report");
    const boost::json::array* list = reports == nullptr ? nullptr : reports->if_array();
    if (list == nullptr) {
        return std::nullopt;
    }
    std::vector<boost::json::object> rows;
    for (const boost::json::value& report : *list) {
        const boost::json::object* section = report.if_object();
        const boost::json::value* entries =
            section == nullptr ? nullptr : section->if_contains(kind);
        const boost::json::array* array = entries == nullptr ? nullptr : entries->if_array();
        if (array == nullptr) {
            return std::nullopt;
        }
        for (const boost::json::value& entry : *array) {
            const boost::json::object* object = entry.if_object();
            rows.push_back(object == nullptr ? boost::json::object() : *object);
        }
    }
    return rows;
}

std::string field(const boost::json::object& row, std::string_view key)
{
    const boost::json::value* value = row.if_contains(key);
    const boost::json::string* string = value == nullptr ? nullptr : value->if_string();
    return string == nullptr ? std::string() : std::string(string->c_str());
}

uint64_t numberField(const boost::json::object& row, std::string_view key)
{
    const std::string digits = field(row, key);
    uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}
