// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/RestoreChecks.h"

#include "restore/Formatting.h"
#include "text/Translate.h"

#include <sys/stat.h>

namespace {

constexpr const char* kBoot = "/boot";

// Whether /boot is a file system of its own, which a rollback of "/" does not touch.
[[nodiscard]] bool bootIsSeparate()
{
    struct stat boot {};
    struct stat root {};
    return ::stat(kBoot, &boot) == 0 && ::stat("/", &root) == 0 && boot.st_dev != root.st_dev;
}

} // namespace

const RestorePoint* usablePoint(const RestoreVolumes& volumes, const std::string& name,
                                std::string& why)
{
    const RestorePoint* point = volumes.find(name);
    if (point == nullptr) {
        why = formatMessage(trNoop("There is no restore point %s; norva-snapshots-restore list "
                                   "shows them."),
                            name.c_str());
        return nullptr;
    }
    switch (point->state) {
    case PointState::Usable:
        return point;
    case PointState::Merging:
        why = formatMessage(trNoop("%s is being merged back into %s already."),
                            point->fullName().c_str(), volumes.rootName().c_str());
        return nullptr;
    case PointState::Overflowed:
        why = formatMessage(trNoop("%s overflowed: LVM no longer holds the state it kept."),
                            point->fullName().c_str());
        return nullptr;
    default:
        why = formatMessage(trNoop("%s is invalid (inactive, or without a creation time): "
                                   "nothing vouches for its content."),
                            point->fullName().c_str());
        return nullptr;
    }
}

std::optional<KernelCheck> kernelsFor(const SnapshotMount& mount, std::string& why)
{
    // A /boot inside "/" is rolled back with it: the kernels that boot afterwards are the
    // restore point's own. An empty one is a separate /boot that is not mounted.
    const std::vector<std::string> kernels =
        bootKernels(bootIsSeparate() ? std::string(kBoot) : mount.path() + kBoot);
    if (kernels.empty()) {
        why = tr("There is no kernel (vmlinuz-*) in /boot: is /boot mounted?");
        return std::nullopt;
    }
    KernelCheck check = checkKernels(kernels, [&mount](const std::string& kernel) {
        return mount.hasDirectory("lib/modules/" + kernel);
    });
    if (check.bootable.empty()) {
        why = formatMessage(trNoop("The restore point has the modules of no kernel in /boot (%s): "
                                   "it would not boot."),
                            joined(kernels).c_str());
        return std::nullopt;
    }
    return check;
}
