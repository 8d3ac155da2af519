// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/BootEntry.h"

#include <array>

namespace {

// What the entry sets itself, or what would bring back the running root or write to it.
[[nodiscard]] bool replaced(std::string_view word)
{
    static constexpr std::array<std::string_view, 9> kPrefixes{
        "BOOT_IMAGE=", "root=",        "rootflags=",    "rootfstype=", "resume=",
        "fsck.mode=",  "fsck.repair=", "systemd.mask=", "init="};
    for (const std::string_view prefix : kPrefixes) {
        if (word.substr(0, prefix.size()) == prefix) {
            return true;
        }
    }
    return word == "ro" || word == "rw" || word == "noresume" || word == "single";
}

} // namespace

std::string lookAroundOptions(std::string_view runningCommandLine, std::string_view fsType)
{
    std::string options = std::string("ro rootflags=") +
                          (fsType == "xfs" ? "norecovery,nouuid" : "noload") +
                          " fsck.mode=skip noresume systemd.mask=systemd-remount-fs.service "
                          "systemd.mask=norva-snapshots.timer";
    size_t start = 0;
    while (start < runningCommandLine.size()) {
        size_t end = runningCommandLine.find_first_of(" \n", start);
        end = end == std::string_view::npos ? runningCommandLine.size() : end;
        const std::string_view word = runningCommandLine.substr(start, end - start);
        if (!word.empty() && !replaced(word)) {
            options += " " + std::string(word);
        }
        start = end + 1;
    }
    return options;
}
