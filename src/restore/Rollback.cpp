// SPDX-License-Identifier: GPL-2.0-or-later
// rollback: LVM merges the restore point back into the root volume; since "/" is in use, the
// merge starts at the next activation of the root, in the initramfs of the next boot.
#include "automation/Automation.h"
#include "automation/RunLock.h"
#include "cli/Messages.h"
#include "restore/Commands.h"
#include "restore/Formatting.h"
#include "restore/Output.h"
#include "restore/RestoreChecks.h"
#include "text/Translate.h"

#include <iostream>
#include <unistd.h>

namespace {

// Kernels installed after the restore point stay in a separate /boot, GRUB boots the newest
// by default, and their modules are gone with the rollback.
void warnAboutKernels(const KernelCheck& kernels)
{
    if (kernels.lacking.empty()) {
        return;
    }
    warn(formatMessage(trNoop("Warning: the restore point lacks the modules of these kernels in "
                              "/boot, which would not boot properly after the rollback: %s."),
                       joined(kernels.lacking).c_str()));
    warn(formatMessage(trNoop("Pick Linux %s under \"Advanced options\" in GRUB's menu at the next "
                              "boot, and remove or reinstall the others afterwards."),
                       kernels.bootable.front().c_str()));
}

// A question on a terminal; without one only --yes goes on.
[[nodiscard]] bool confirmed(const RestorePoint& point, const std::string& root, bool yes)
{
    if (yes) {
        return true;
    }
    if (::isatty(STDIN_FILENO) == 0) {
        return false;
    }
    std::cout << formatMessage(trNoop("Roll %s back to %s, taken %s? Everything written to \"/\" "
                                      "since is lost. Type yes to go on: "),
                               root.c_str(), point.fullName().c_str(),
                               timeText(point.taken).c_str())
              << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "yes" || answer == tr("yes");
}

// Checks everything that can be checked before the merge; a refusal in `why`.
[[nodiscard]] std::optional<KernelCheck>
readyForRollback(const RestoreVolumes& volumes, const RestorePoint& point, std::string& why)
{
    if (volumes.mergePending()) {
        why = formatMessage(trNoop("A restore point is being merged back into %s already; the next "
                                   "boot completes it."),
                            volumes.rootName().c_str());
        return std::nullopt;
    }
    const auto mount = SnapshotMount::open(point.device(), why);
    return mount ? kernelsFor(*mount, why) : std::nullopt;
}

// Under the run lock: the point is still the one that was checked, then the merge.
[[nodiscard]] bool merge(const RestorePoint& point, std::string& why)
{
    const auto volumes = RestoreVolumes::read(why);
    const RestorePoint* now = volumes ? usablePoint(*volumes, point.fullName(), why) : nullptr;
    if (now == nullptr) {
        return false;
    }
    if (now->uuid != point.uuid || volumes->mergePending()) {
        why = formatMessage(trNoop("%s changed while the rollback was being prepared."),
                            point.fullName().c_str());
        return false;
    }
    return runLvmChange({"lvconvert", "--merge", "-y", point.fullName()}, why);
}

} // namespace

int rollbackCommand(const RestoreArguments& arguments)
{
    std::string why;
    const auto volumes = RestoreVolumes::read(why);
    const RestorePoint* point = volumes ? usablePoint(*volumes, arguments.name, why) : nullptr;
    const auto kernels = point ? readyForRollback(*volumes, *point, why) : std::nullopt;
    if (!kernels) {
        return refuse(why);
    }
    warnAboutKernels(*kernels);
    if (!confirmed(*point, volumes->rootName(), arguments.flag)) {
        return refuse(tr("The rollback was not confirmed (--yes confirms it without a terminal); "
                         "nothing was changed."));
    }
    const auto lock = RunLock::acquire();
    if (!lock) {
        return refuse(tr(kBusyMessage));
    }
    if (!merge(*point, why)) {
        return refuse(why);
    }
    record(formatMessage(trNoop("Rollback of %s to %s, taken %s, requested."),
                         volumes->rootName().c_str(), point->fullName().c_str(),
                         timeText(point->taken).c_str()));
    // No check may run on the state that is going away, nor on the one that comes back.
    if (!stopAutomation()) {
        warn(tr("The automation could not be stopped; the snapshot library changes nothing until "
                "the merge is done."));
    }
    tell(formatMessage(trNoop("%s will be rolled back to %s at the next boot: reboot now. The "
                              "automation is stopped; once the rollback is done, "
                              "norva-snapshots-manager -r starts it again."),
                       volumes->rootName().c_str(), point->fullName().c_str()));
    return 0;
}
