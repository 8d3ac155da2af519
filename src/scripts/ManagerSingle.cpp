// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ManagerSingle.h"

#include "automation/Automation.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"
#include "text/SystemLog.h"
#include "text/Translate.h"

#include <algorithm>
#include <ctime>

namespace {

[[nodiscard]] std::string localTime(uint64_t seconds)
{
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    char text[32] = "";
    if (::localtime_r(&time, &parts) != nullptr) {
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    }
    return text;
}

bool resizeToRootVolume(const Cause& cause, SnapshotHandle snapshot)
{
    const uint64_t rootSize = root_volume_size();
    if (lvm_snapshot_size(snapshot) == rootSize) {
        return true;
    }
    return resizeSnapshot(cause, snapshot, rootSize);
}

} // namespace

bool ManagerSingle::launch()
{
    static_cast<void>(stopAutomation());
    if (!removeAllSnapshots(because(Why::Launch)) || !creationAllowed(because(Why::Launch), 0)) {
        return false;
    }
    if (!startAutomation(*this)) {
        return false;
    }
    return createSnapshot(because(Why::Launch), 0);
}

bool ManagerSingle::check()
{
    const SnapshotListGuard list;
    if (list.empty()) {
        return createIfAllowed(because(Why::Missing), 0);
    }
    if (!removeEntries(because(Why::Surplus), list, 1, list.size())) {
        return false;
    }
    return ensureFullSnapshot(list.first());
}

bool ManagerSingle::ensureFullSnapshot(SnapshotHandle snapshot)
{
    if (snapshot == nullptr) {
        return false;
    }
    if (isUsable(snapshot)) {
        return resizeToRootVolume(because(Why::Size), snapshot);
    }
    if (!removeSnapshot(because(Why::Unusable), snapshot)) {
        return false;
    }
    return createIfAllowed(because(Why::Unusable), 0);
}

bool ManagerSingle::createAdditionalSnapshot()
{
    const uint64_t freeSpace = root_vg_free_space();
    const uint64_t rootSize = root_volume_size();
    const uint64_t bootUsed = boot_partition_used_space();
    if (bootUsed >= freeSpace) {
        logLine(LogLevel::Error,
                formatMessage(trNoop("Script %d: no additional snapshot: /boot uses %llu bytes, no "
                                     "less than the %llu bytes free in the volume group."),
                              config().script, static_cast<unsigned long long>(bootUsed),
                              static_cast<unsigned long long>(freeSpace)));
        return false;
    }
    return createIfAllowed(because(Why::Additional), std::min(freeSpace, rootSize));
}

bool ManagerSingle::keepsEarlierRestorePoint() const
{
    if (!isAutomationStopped()) {
        return false;
    }
    const SnapshotListGuard list;
    if (list.size() < 2) {
        return false;
    }
    logLine(LogLevel::Notice,
            formatMessage(trNoop("Script %d: the automation stands stopped since an earlier "
                                 "trigger, whose restore point of %s is kept; no new one is "
                                 "taken until norva-snapshots-manager -r releases it."),
                          config().script,
                          localTime(lvm_snapshot_creation_time(list.last())).c_str()));
    return true;
}

bool ManagerSingle::stopCheckAndAddSnapshot()
{
    if (keepsEarlierRestorePoint()) {
        return true;
    }
    static_cast<void>(stopAutomation());
    static_cast<void>(check());
    return createAdditionalSnapshot();
}
