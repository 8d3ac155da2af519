// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <boost/json/object.hpp>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The rows of one kind ("lv", "pv") in a JSON report of lvs or pvs (--reportformat json),
// every section's in order; nullopt when the text is no such report. LVM prints every value
// as a string, numbers included.
[[nodiscard]] std::optional<std::vector<boost::json::object>> reportRows(std::string_view json,
                                                                         std::string_view kind);

// A field of a row; empty when it is missing or not a string.
[[nodiscard]] std::string field(const boost::json::object& row, std::string_view key);

// A field of a row as a number (--units b --nosuffix); 0 when it is not one.
[[nodiscard]] uint64_t numberField(const boost::json::object& row, std::string_view key);
