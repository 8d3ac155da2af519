#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One row of the lvs report that the library asks for: the LV's own fields and the facts of
// its VG, which lvs repeats on every row.
struct LvRow {
    std::string name;
    std::string vgName;
    std::string uuid;   // without dashes
    std::string vgUuid; // without dashes
    std::string attr;
    std::string origin;
    std::string time;        // epoch seconds, empty when LVM has no creation time
    std::string snapPercent; // "75.93", empty when it cannot be measured
    std::string tags;        // comma-separated
    uint64_t size = 0;       // bytes; for a snapshot its copy-on-write size
    uint64_t originSize = 0;
    uint64_t chunkSize = 0;
    uint64_t extentSize = 0;
    uint64_t vgFreeCount = 0;

    [[nodiscard]] bool isSnapshot() const { return !attr.empty() && attr[0] == 's'; }
    [[nodiscard]] bool isInvalid() const { return attr.size() > 4 && attr[4] == 'I'; }
};

// The fields of LvRow, in the -o list given to lvs.
[[nodiscard]] std::string reportFields();

// Parses lvs's JSON report (--reportformat json --units b --nosuffix); empty on any text that
// is not such a report.
[[nodiscard]] std::optional<std::vector<LvRow>> parseReport(std::string_view json);
