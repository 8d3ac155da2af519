// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/Automation.h"
#include "automation/CommandLine.h"
#include "automation/Systemctl.h"
#include "config/ConfigFile.h"
#include "scripts/ScriptManagerBase.h"
#include "text/SystemLog.h"

namespace {

// The two questions: 0 means yes, anything else no; neither is a failure.
bool answersYes(const char* question)
{
    return runCommandLine(question) == 0;
}

// A verb that changes the timer; its failure goes to the log with systemctl's exit status.
bool succeeds(const char* commandLine)
{
    const int status = runCommandLine(commandLine);
    if (status != 0) {
        logLine(LogLevel::Error,
                formatMessage(trNoop("\"%s\" failed with exit status %d."), commandLine, status));
    }
    return status == 0;
}

bool enableAndStart()
{
    return succeeds(systemctl::kEnable) && succeeds(systemctl::kStart);
}

} // namespace

// Both questions are always asked; the automation runs only when the timer is both active
// and enabled.
bool isAutomationRunning()
{
    const bool active = answersYes(systemctl::kIsActive);
    const bool enabled = answersYes(systemctl::kIsEnabled);
    return active && enabled;
}

// As stopAutomation leaves it: a timer that only one question denies (a failed stop or
// disable, or a query that failed) does not stand stopped.
bool isAutomationStopped()
{
    const bool active = answersYes(systemctl::kIsActive);
    const bool enabled = answersYes(systemctl::kIsEnabled);
    return !active && !enabled;
}

bool stopAutomation()
{
    bool stopped = true;
    if (answersYes(systemctl::kIsActive)) {
        stopped = succeeds(systemctl::kStop);
    }
    if (!answersYes(systemctl::kIsEnabled)) {
        return stopped;
    }
    const bool disabled = succeeds(systemctl::kDisable);
    return stopped && disabled;
}

bool restartAutomation()
{
    static_cast<void>(stopAutomation());
    return enableAndStart();
}

bool startAutomation(const ScriptManagerBase& manager)
{
    if (!saveConfig(manager.config())) {
        logLine(LogLevel::Error,
                formatMessage(trNoop("Script %d: the configuration cannot be saved."),
                              manager.config().script));
        return false;
    }
    static_cast<void>(stopAutomation());
    return enableAndStart();
}
