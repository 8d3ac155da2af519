// SPDX-License-Identifier: GPL-2.0-or-later
// boot: the next boot, and only that one, runs from a restore point, read-only, so that the
// administrator can look around before deciding on a rollback. GRUB's one-shot choice
// (grub-reboot) picks an entry that update-grub writes for the request; the boot after it is
// the default one again.
#include "ProgramRunner.h"
#include "automation/Automation.h"
#include "restore/BootEntry.h"
#include "restore/Commands.h"
#include "restore/Output.h"
#include "restore/RestoreChecks.h"
#include "text/Translate.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kGrubScript = "/etc/grub.d/42_norva-snapshots-restore";
constexpr const char* kGrubConfig = "/boot/grub/grub.cfg";

[[nodiscard]] std::string fileText(const char* path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

[[nodiscard]] ProgramResult runTool(const std::string& program, std::vector<std::string> args)
{
    args.insert(args.begin(), program);
    return runProgram(program, args, {"PATH=/usr/sbin:/usr/bin:/sbin:/bin", "LC_ALL=C"});
}

[[nodiscard]] std::string firstLine(const ProgramResult& result)
{
    const std::string& text = result.started ? result.err : result.failure;
    return text.substr(0, text.find('\n'));
}

// GRUB clears its one-shot choice by writing its environment block in /boot; on LVM, RAID or
// an encrypted disk it cannot, and the choice would stand for every boot after.
[[nodiscard]] bool grubCanBootOnce(std::string& why)
{
    if (::access(kGrubScript, X_OK) != 0) {
        why = formatMessage(trNoop("%s is missing: the package norva-snapshots-manager is not "
                                   "installed completely."),
                            kGrubScript);
        return false;
    }
    const ProgramResult probe = runTool("/usr/sbin/grub-probe", {"--target=abstraction", "/boot"});
    if (!probe.succeeded()) {
        why = formatMessage(trNoop("GRUB cannot tell where /boot is (grub-probe: %s)."),
                            firstLine(probe).c_str());
        return false;
    }
    if (probe.out.find_first_not_of(" \n") != std::string::npos) {
        why = formatMessage(trNoop("/boot lies on %s, where GRUB cannot record that a boot was "
                                   "the one chosen once: the restore point would boot for good."),
                            probe.out.substr(0, probe.out.find('\n')).c_str());
        return false;
    }
    return true;
}

[[nodiscard]] bool writeRequest(const RestorePoint& point, const std::string& kernel,
                                const std::string& options)
{
    ::mkdir(kBootRequestDirectory, 0700);
    std::ofstream request(kBootRequest, std::ios::trunc);
    request << "device=" << point.device() << "\nkernel=" << kernel << "\noptions=" << options
            << "\ntitle=" << point.fullName() << '\n';
    request.close();
    return !request.fail();
}

// update-grub writes the entry for the request, grub-reboot chooses it for the next boot.
[[nodiscard]] bool chooseEntry(std::string& why)
{
    const ProgramResult update = runTool("/usr/sbin/update-grub", {});
    if (!update.succeeded()) {
        why = formatMessage(trNoop("update-grub failed: %s"), firstLine(update).c_str());
        return false;
    }
    if (fileText(kGrubConfig).find(std::string("--id ") + kBootEntryId) == std::string::npos) {
        why = formatMessage(trNoop("update-grub wrote no entry for the restore point into %s."),
                            kGrubConfig);
        return false;
    }
    const ProgramResult choose = runTool("/usr/sbin/grub-reboot", {kBootEntryId});
    if (!choose.succeeded()) {
        why = formatMessage(trNoop("grub-reboot failed: %s"), firstLine(choose).c_str());
        return false;
    }
    return true;
}

} // namespace

int bootCommand(const RestoreArguments& arguments)
{
    std::string why;
    const auto volumes = RestoreVolumes::read(why);
    const RestorePoint* point = volumes ? usablePoint(*volumes, arguments.name, why) : nullptr;
    if (point == nullptr) {
        return refuse(why);
    }
    if (volumes->mergePending()) {
        return refuse(formatMessage(trNoop("A restore point is being merged back into %s; the next "
                                           "boot completes that first."),
                                    volumes->rootName().c_str()));
    }
    std::string fsType;
    std::optional<KernelCheck> kernels;
    if (auto mount = SnapshotMount::open(point->device(), why)) {
        fsType = mount->type();
        kernels = kernelsFor(*mount, why);
    }
    if (!kernels || !grubCanBootOnce(why)) {
        return refuse(why);
    }
    const std::string& kernel = kernels->bootable.front();
    if (!writeRequest(*point, kernel, lookAroundOptions(fileText("/proc/cmdline"), fsType))) {
        return refuse(formatMessage(trNoop("%s cannot be written."), kBootRequest));
    }
    if (!chooseEntry(why)) {
        std::filesystem::remove(kBootRequest);
        return refuse(why);
    }
    record(formatMessage(trNoop("The next boot runs from %s, read-only, with Linux %s."),
                         point->fullName().c_str(), kernel.c_str()));
    // Until the administrator decides, no check may remove the restore point: the entry would
    // lead to a volume that is gone.
    if (!stopAutomation()) {
        warn(tr("The automation could not be stopped: a check may still remove the restore "
                "point."));
    }
    tell(formatMessage(trNoop("The next boot, and only that one, runs from %s with Linux %s: \"/\" "
                              "read-only, nothing written into the restore point, and the "
                              "automation's check masked. The boot after it is the usual one "
                              "again. Reboot when ready. The automation is stopped meanwhile; "
                              "norva-snapshots-manager -r starts it again."),
                       point->fullName().c_str(), kernel.c_str()));
    return 0;
}
