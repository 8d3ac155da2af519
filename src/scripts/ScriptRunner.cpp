// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ScriptRunner.h"

#include "config/Prompts.h"
#include "scripts/ScriptManagerBase.h"
#include "scripts/ScriptTable.h"

LaunchStatus launchScript(int32_t number, const std::function<bool()>& beforeChanges)
{
    if (!isValidScript(number)) {
        return LaunchStatus::Failed;
    }
    const ScriptConfig config = askScriptParameters(number);
    if (config.script == 0) {
        return LaunchStatus::Cancelled;
    }
    const auto manager = createManager(config);
    if (!manager) {
        return LaunchStatus::Failed;
    }
    if (!beforeChanges()) {
        return LaunchStatus::Busy;
    }
    return manager->launch() ? LaunchStatus::Launched : LaunchStatus::Failed;
}

// A number that names no script gives no manager, and so false.
bool checkScript(const ScriptConfig& config)
{
    const auto manager = createManager(config);
    return manager && manager->check();
}

bool triggerScript(const ScriptConfig& config)
{
    const auto manager = createManager(config);
    return manager && manager->trigger();
}
