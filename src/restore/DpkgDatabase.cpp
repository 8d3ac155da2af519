// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/DpkgDatabase.h"

#include "restore/DebianVersion.h"

#include <algorithm>
#include <tuple>

namespace {

// The value of field `key` in one paragraph, empty when it is not there.
[[nodiscard]] std::string field(std::string_view paragraph, std::string_view key)
{
    size_t start = 0;
    while (start < paragraph.size()) {
        const size_t end = std::min(paragraph.find('\n', start), paragraph.size());
        const std::string_view line = paragraph.substr(start, end - start);
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == ':') {
            std::string_view value = line.substr(key.size() + 1);
            while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) {
                value.remove_prefix(1);
            }
            while (!value.empty() && (value.back() == ' ' || value.back() == '\r')) {
                value.remove_suffix(1);
            }
            return std::string(value);
        }
        start = end + 1;
    }
    return {};
}

[[nodiscard]] bool filesPresent(const std::string& status)
{
    const size_t last = status.rfind(' ');
    const std::string state = last == std::string::npos ? status : status.substr(last + 1);
    return !state.empty() && state != "not-installed" && state != "config-files";
}

// The architecture of dpkg itself: the machine's own, written without a suffix.
[[nodiscard]] std::string nativeArchitecture(const PackageSet& packages)
{
    for (const auto& [key, package] : packages) {
        if (package.name == "dpkg") {
            return package.architecture;
        }
    }
    return {};
}

[[nodiscard]] PackageChangeKind kindOf(const std::string& before, const std::string& after)
{
    return compareDebianVersions(before, after) > 0 ? PackageChangeKind::Downgraded
                                                    : PackageChangeKind::Upgraded;
}

} // namespace

PackageSet installedPackages(std::string_view status)
{
    PackageSet packages;
    size_t start = 0;
    while (start < status.size()) {
        size_t end = status.find("\n\n", start);
        end = end == std::string_view::npos ? status.size() : end;
        const std::string_view paragraph = status.substr(start, end - start);
        InstalledPackage package{field(paragraph, "Package"), field(paragraph, "Architecture"),
                                 field(paragraph, "Version")};
        if (!package.name.empty() && filesPresent(field(paragraph, "Status"))) {
            packages[package.name + ":" + package.architecture] = std::move(package);
        }
        start = end + 2;
    }
    return packages;
}

std::vector<PackageChange> packageChanges(const PackageSet& before, const PackageSet& after)
{
    const std::string native = nativeArchitecture(after.empty() ? before : after);
    const auto shown = [&native](const InstalledPackage& package) {
        const bool plain = package.architecture == native || package.architecture == "all";
        return plain ? package.name : package.name + ":" + package.architecture;
    };
    std::vector<PackageChange> changes;
    for (const auto& [key, old] : before) {
        const auto now = after.find(key);
        if (now == after.end()) {
            changes.push_back({PackageChangeKind::Removed, shown(old), old.version, ""});
        } else if (now->second.version != old.version) {
            changes.push_back({kindOf(old.version, now->second.version), shown(old), old.version,
                               now->second.version});
        }
    }
    for (const auto& [key, added] : after) {
        if (before.count(key) == 0) {
            changes.push_back({PackageChangeKind::Installed, shown(added), "", added.version});
        }
    }
    std::sort(changes.begin(), changes.end(), [](const PackageChange& a, const PackageChange& b) {
        return std::tie(a.kind, a.name) < std::tie(b.kind, b.name);
    });
    return changes;
}
