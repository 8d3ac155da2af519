// SPDX-License-Identifier: GPL-2.0-or-later
// list and changes: they read and never change anything.
#include "restore/Commands.h"
#include "restore/DpkgDatabase.h"
#include "restore/FileTree.h"
#include "restore/Formatting.h"
#include "restore/Output.h"
#include "restore/PointTable.h"
#include "restore/RestoreChecks.h"
#include "scripts/Clock.h"
#include "text/Translate.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr const char* kDpkgStatus = "var/lib/dpkg/status";

[[nodiscard]] std::optional<std::string> liveFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

[[nodiscard]] std::string changeLine(const PackageChange& change)
{
    switch (change.kind) {
    case PackageChangeKind::Installed:
        return formatMessage(trNoop("  installed   %s %s"), change.name.c_str(),
                             change.after.c_str());
    case PackageChangeKind::Removed:
        return formatMessage(trNoop("  removed     %s %s"), change.name.c_str(),
                             change.before.c_str());
    case PackageChangeKind::Upgraded:
        return formatMessage(trNoop("  upgraded    %s %s -> %s"), change.name.c_str(),
                             change.before.c_str(), change.after.c_str());
    default:
        return formatMessage(trNoop("  downgraded  %s %s -> %s"), change.name.c_str(),
                             change.before.c_str(), change.after.c_str());
    }
}

[[nodiscard]] std::string fileLine(const FileChange& change)
{
    static constexpr std::array<const char*, 3> kKinds{trNoop("  added       /etc/%s"),
                                                       trNoop("  removed     /etc/%s"),
                                                       trNoop("  changed     /etc/%s")};
    return formatMessage(kKinds[static_cast<size_t>(change.kind)], change.path.c_str());
}

void writePackageChanges(const std::vector<PackageChange>& changes)
{
    tell(formatMessage(trNoop("Packages (%zu changed):"), changes.size()));
    for (const PackageChange& change : changes) {
        tell(changeLine(change));
    }
}

void writeFileChanges(const std::vector<FileChange>& changes)
{
    tell(formatMessage(trNoop("Files under /etc (%zu changed):"), changes.size()));
    for (const FileChange& change : changes) {
        tell(fileLine(change));
    }
}

} // namespace

int listCommand(const RestoreArguments& arguments)
{
    std::string why;
    const auto volumes = RestoreVolumes::read(why);
    if (!volumes) {
        return refuse(why);
    }
    if (arguments.flag) {
        writePointJson(std::cout, volumes->rootName(), volumes->mergePending(), volumes->points(),
                       currentTime());
    } else {
        writePointTable(std::cout, volumes->points(), currentTime());
        if (volumes->mergePending()) {
            std::cout << formatMessage(trNoop("A restore point is being merged back into %s: the "
                                              "next boot completes it."),
                                       volumes->rootName().c_str())
                      << '\n';
        }
    }
    std::cout.flush();
    return 0;
}

int changesCommand(const RestoreArguments& arguments)
{
    std::string why;
    const auto volumes = RestoreVolumes::read(why);
    const RestorePoint* point = volumes ? usablePoint(*volumes, arguments.name, why) : nullptr;
    if (point == nullptr) {
        return refuse(why);
    }
    const auto mount = SnapshotMount::open(point->device(), why);
    if (!mount) {
        return refuse(why);
    }
    const auto then = mount->readFile(kDpkgStatus);
    const auto now = liveFile(std::string("/") + kDpkgStatus);
    if (!then || !now) {
        return refuse(formatMessage(trNoop("The dpkg database (/%s) cannot be read in %s."),
                                    kDpkgStatus,
                                    (then ? tr("the live system") : point->fullName()).c_str()));
    }
    tell(formatMessage(trNoop("Changes since restore point %s, taken %s:"),
                       point->fullName().c_str(), timeText(point->taken).c_str()));
    writePackageChanges(packageChanges(installedPackages(*then), installedPackages(*now)));
    writeFileChanges(fileChanges(fileTree(mount->path() + "/etc"), fileTree("/etc")));
    return 0;
}
