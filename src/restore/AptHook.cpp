// SPDX-License-Identifier: GPL-2.0-or-later
// apt-hook: what APT runs before dpkg changes packages (DPkg::Pre-Invoke, in
// /etc/apt/apt.conf.d/80norva-snapshots-restore). For scripts 3 and 4 with the automation
// running it fires the trigger, which keeps the state before the change as a restore point and
// stops the automation. It never stops APT: whatever happens, it says so in one line and ends
// with status 0.
#include "ProgramRunner.h"
#include "automation/Automation.h"
#include "config/ConfigFile.h"
#include "restore/Commands.h"
#include "restore/Formatting.h"
#include "restore/Output.h"
#include "restore/RestorePoints.h"
#include "text/Translate.h"

namespace {

constexpr const char* kTool = "/usr/sbin/norva-snapshots-manager";

[[nodiscard]] bool hasTrigger(int32_t script)
{
    return script == 3 || script == 4;
}

// The newest restore point the library would keep, null when there is none.
[[nodiscard]] const RestorePoint* newest(const RestoreVolumes& volumes)
{
    const RestorePoint* found = nullptr;
    for (const RestorePoint& point : volumes.points()) {
        found = point.state == PointState::Merging ? found : &point;
    }
    return found;
}

// The trigger, by the tool itself: its run lock, its log and its rules.
[[nodiscard]] bool trigger(int32_t script)
{
    const ProgramResult result =
        runProgram(kTool, {kTool, "-t"}, {"PATH=/usr/sbin:/usr/bin:/sbin:/bin"});
    if (!result.succeeded()) {
        warn(formatMessage(trNoop("No restore point was taken before this package change: the "
                                  "trigger of script %d failed (journalctl -t "
                                  "norva-snapshots-manager says why); the change goes on."),
                           script));
    }
    return result.succeeded();
}

void nameRestorePoint(bool taken)
{
    std::string why;
    const auto volumes = RestoreVolumes::read(why);
    const RestorePoint* point = volumes ? newest(*volumes) : nullptr;
    if (!volumes) {
        warn(formatMessage(trNoop("No restore point can be named: %s"), why.c_str()));
    } else if (point == nullptr) {
        warn(tr("The automation is stopped and there is no restore point: none is taken before "
                "this package change."));
    } else if (taken) {
        tell(formatMessage(trNoop("norva-snapshots-restore: restore point %s taken %s, before this "
                                  "package change; the automation stays stopped until "
                                  "norva-snapshots-manager -r releases it."),
                           point->fullName().c_str(), timeText(point->taken).c_str()));
    } else {
        tell(formatMessage(trNoop("norva-snapshots-restore: restore point %s, taken %s, is kept: "
                                  "the automation stands stopped, so no new one is taken before "
                                  "this package change; norva-snapshots-manager -r releases it."),
                           point->fullName().c_str(), timeText(point->taken).c_str()));
    }
}

} // namespace

int aptHookCommand(const RestoreArguments&)
{
    const ScriptConfig config = loadConfig();
    if (!hasTrigger(config.script)) {
        return 0;
    }
    if (!isAutomationRunning()) {
        nameRestorePoint(false);
    } else if (trigger(config.script)) {
        nameRestorePoint(true);
    }
    return 0;
}
