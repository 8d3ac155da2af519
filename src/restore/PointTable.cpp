// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/PointTable.h"

#include "restore/Formatting.h"
#include "text/Translate.h"

#include <algorithm>
#include <array>
#include <boost/json/serialize.hpp>
#include <boost/json/value.hpp>

namespace {

constexpr size_t kColumns = 7;
using Row = std::array<std::string, kColumns>;

[[nodiscard]] std::string translatedState(PointState state)
{
    switch (state) {
    case PointState::Usable:
        return tr("usable");
    case PointState::Overflowed:
        return tr("overflowed");
    case PointState::Merging:
        return tr("being merged back");
    default:
        return tr("invalid");
    }
}

[[nodiscard]] Row rowOf(const RestorePoint& point, uint64_t now)
{
    return {point.fullName(),
            timeText(point.taken),
            point.taken == 0 || point.taken > now ? "-" : ageText(now - point.taken),
            sizeText(point.size),
            std::to_string(point.fillingPercent) + " %",
            translatedState(point.state),
            point.fullSized ? tr("yes") : tr("no")};
}

// Columns line up by characters, not bytes: translated headers are UTF-8.
[[nodiscard]] size_t width(const std::string& text)
{
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

} // namespace

const char* stateWord(PointState state)
{
    static constexpr std::array<const char*, 4> kWords{"usable", "overflowed", "invalid",
                                                       "merging"};
    return kWords[static_cast<size_t>(state)];
}

void writePointTable(std::ostream& out, const std::vector<RestorePoint>& points, uint64_t now)
{
    if (points.empty()) {
        out << tr("There is no restore point of \"/\".") << '\n';
        return;
    }
    std::vector<Row> rows{{tr("NAME"), tr("TAKEN"), tr("AGE"), tr("SIZE"), tr("FILLED"),
                           tr("STATE"), tr("FULL-SIZED")}};
    for (const RestorePoint& point : points) {
        rows.push_back(rowOf(point, now));
    }
    std::array<size_t, kColumns> widths{};
    for (const Row& row : rows) {
        for (size_t i = 0; i < kColumns; ++i) {
            widths[i] = std::max(widths[i], width(row[i]));
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (size_t i = 0; i < kColumns; ++i) {
            line +=
                row[i] + (i + 1 < kColumns ? std::string(widths[i] - width(row[i]) + 2, ' ') : "");
        }
        out << line << '\n';
    }
}

void writePointJson(std::ostream& out, const std::string& root, bool mergePending,
                    const std::vector<RestorePoint>& points, uint64_t now)
{
    boost::json::array list;
    for (const RestorePoint& point : points) {
        boost::json::object entry;
        entry["name"] = point.name;
        entry["vg"] = point.vgName;
        entry["device"] = point.device();
        entry["taken"] = point.taken;
        entry["age_seconds"] =
            point.taken == 0 || point.taken > now ? uint64_t{0} : now - point.taken;
        entry["size_bytes"] = point.size;
        entry["filling_percent"] = point.fillingPercent;
        entry["state"] = stateWord(point.state);
        entry["full_sized"] = point.fullSized;
        list.push_back(std::move(entry));
    }
    boost::json::object top;
    top["root"] = root;
    top["merge_pending"] = mergePending;
    top["restore_points"] = std::move(list);
    out << boost::json::serialize(top) << '\n';
}
