// SPDX-License-Identifier: GPL-2.0-or-later
#include "metrics/Metrics.h"

#include "automation/CommandLine.h"
#include "automation/Systemctl.h"
#include "config/ConfigFile.h"
#include "scripts/SnapshotRules.h"
#include "snapshots/SnapshotListGuard.h"

#include <algorithm>
#include <sstream>

Metrics gatherMetrics(const std::string& serviceResult, uint64_t now)
{
    Metrics metrics;
    metrics.script = loadConfig().script;
    metrics.timerEnabled = runCommandLine(systemctl::kIsEnabled) == 0;
    if (!serviceResult.empty()) {
        metrics.lastCheckSucceeded = serviceResult == "success";
        metrics.lastCheckTime = now;
    }
    const SnapshotListGuard list;
    metrics.snapshots = list.size();
    for (const SnapshotHandle snapshot : list) {
        metrics.highestFilling =
            std::max(metrics.highestFilling, lvm_snapshot_filling_percent(snapshot));
        metrics.usable += isUsable(snapshot) ? 1U : 0U;
    }
    if (!list.empty()) {
        // A clock set back after the snapshot was made (a corrected or hand-set date) makes
        // it brand new, not a wrapped age of 584 billion years.
        const uint64_t created = lvm_snapshot_creation_time(list.last());
        metrics.newestAge = now > created ? now - created : 0;
    }
    metrics.vgFreeBytes = root_vg_free_space();
    return metrics;
}

namespace {

void gauge(std::ostringstream& text, const char* name, const char* help, uint64_t value)
{
    text << "# HELP norva_snapshots_" << name << " " << help << "\n# TYPE norva_snapshots_" << name
         << " gauge\nnorva_snapshots_" << name << " " << value << "\n";
}

} // namespace

std::string metricsText(const Metrics& m)
{
    std::ostringstream text;
    gauge(text, "script", "The automation script in use, 0 for none.",
          static_cast<uint64_t>(std::max(m.script, 0)));
    gauge(text, "timer_enabled", "Whether norva-snapshots.timer is enabled.", m.timerEnabled);
    if (m.lastCheckSucceeded) {
        gauge(text, "last_check_success", "Whether the last scheduled check succeeded.",
              *m.lastCheckSucceeded);
        gauge(text, "last_check_timestamp_seconds", "When the last scheduled check ended.",
              m.lastCheckTime);
    }
    gauge(text, "existing", "Snapshots of the root volume made by the tool.", m.snapshots);
    gauge(text, "usable", "Of them, restore points: dated and at most 99 percent full.", m.usable);
    if (m.newestAge) {
        gauge(text, "newest_age_seconds", "Age of the newest snapshot.", *m.newestAge);
    }
    gauge(text, "max_fill_percent", "Highest filling of a snapshot, in percent.", m.highestFilling);
    gauge(text, "vg_free_bytes", "Free space of the root volume group.", m.vgFreeBytes);
    return text.str();
}
