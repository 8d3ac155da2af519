// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RootLayout.h"

#include <algorithm>
#include <array>

namespace {

// The first word of lv_layout ("raid" of "raid,raid1").
[[nodiscard]] std::string_view kind(const LvRow& row)
{
    const std::string_view layout = row.layout;
    return layout.substr(0, layout.find(','));
}

[[nodiscard]] bool hasIntegrity(const LvmReport& report)
{
    return std::any_of(report.rows().begin(), report.rows().end(), [&report](const LvRow& row) {
        return row.parent == report.root().name &&
               row.layout.find("integrity") != std::string::npos;
    });
}

[[nodiscard]] std::string layoutName(const LvmReport& report)
{
    const LvRow& root = report.root();
    if (root.isSnapshot() || (!root.attr.empty() && root.attr[0] == 'S')) {
        return "a snapshot";
    }
    if (hasIntegrity(report)) {
        return "a RAID volume with integrity";
    }
    constexpr std::array<std::string_view, 6> kSupported = {"linear", "striped", "raid",
                                                            "mirror", "cache",   "writecache"};
    if (std::find(kSupported.begin(), kSupported.end(), kind(root)) != kSupported.end()) {
        return {};
    }
    if (kind(root) == "thin") {
        return "a thin volume, whose snapshots belong in its thin pool";
    }
    return "a volume of the layout \"" + (root.layout.empty() ? "unknown" : root.layout) + "\"";
}

} // namespace

std::string rootRefusal(const LvmReport& report)
{
    const std::string layout = layoutName(report);
    if (layout.empty()) {
        return {};
    }
    return report.root().vgName + "/" + report.root().name + " is " + layout +
           "; snapshots are made only of linear, striped, RAID (without integrity), mirrored "
           "and cached (dm-cache, dm-writecache) logical volumes";
}
