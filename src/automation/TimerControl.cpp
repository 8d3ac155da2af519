#include "automation/Automation.h"
#include "automation/CommandLine.h"
#include "automation/Systemctl.h"
#include "config/ConfigFile.h"
#include "scripts/ScriptManagerBase.h"

bool stopAutomation()
{
    bool stopped = true;
    if (runCommandLine(systemctl::kIsActive)) {
        stopped = runCommandLine(systemctl::kStop);
    }
    if (!runCommandLine(systemctl::kIsEnabled)) {
        return stopped;
    }
    const bool disabled = runCommandLine(systemctl::kDisable);
    return stopped && disabled;
}

namespace {

bool enableAndStart()
{
    return runCommandLine(systemctl::kEnable) && runCommandLine(systemctl::kStart);
}

} // namespace

bool restartAutomation()
{
    static_cast<void>(stopAutomation());
    return enableAndStart();
}

bool startAutomation(const ScriptManagerBase& manager)
{
    if (!saveConfig(manager.config())) {
        return false;
    }
    static_cast<void>(stopAutomation());
    return enableAndStart();
}
