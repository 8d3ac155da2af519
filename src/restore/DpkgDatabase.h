// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The packages of a dpkg database (/var/lib/dpkg/status), and what changed between two.

struct InstalledPackage {
    std::string name;
    std::string architecture;
    std::string version;
};

// By "name:architecture", so that the instances of a Multi-Arch package stay apart.
using PackageSet = std::map<std::string, InstalledPackage>;

// The packages whose files are on the system: every state but not-installed and config-files
// (a half-installed or unconfigured package is there too, and a rollback takes it away).
[[nodiscard]] PackageSet installedPackages(std::string_view status);

enum class PackageChangeKind { Installed, Removed, Upgraded, Downgraded };

struct PackageChange {
    PackageChangeKind kind;
    std::string name; // with ":architecture" only when foreign to dpkg's own
    std::string before;
    std::string after;
};

// What turned `before` into `after`, by kind and then by name. A package whose version stayed
// is not a change.
[[nodiscard]] std::vector<PackageChange> packageChanges(const PackageSet& before,
                                                        const PackageSet& after);
