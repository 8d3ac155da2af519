// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/Automation.h"
#include "automation/RunLock.h"
#include "cli/Messages.h"
#include "cli/Options.h"
#include "cli/Usage.h"
#include "config/ConfigFile.h"
#include "config/ConfigPath.h"
#include "scripts/ScriptRunner.h"
#include "scripts/ScriptTable.h"
#include "text/SystemLog.h"
#include "text/Translate.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>

namespace {

int report(bool succeeded, const char* success, const char* failure)
{
    if (succeeded) {
        say(success);
        return 0;
    }
    complain(failure);
    return 1;
}

// Runs `operation` on the saved script for -c and -t and gives the exit status. Why no script
// could be run, what of the configuration read as 0, and a failed run go to the log.
int runSaved(bool (*operation)(const ScriptConfig&), const char* name)
{
    std::vector<std::string> problems;
    const ScriptConfig config = loadConfig(&problems);
    std::string why;
    for (const std::string& problem : problems) {
        why += (why.empty() ? "" : "; ") + problem;
    }
    if (!isValidScript(config.script)) {
        if (problems.empty()) {
            why = formatMessage(trNoop("script %d is not one of 1 to %d"), config.script,
                                kScripts.back().number);
        }
        logLine(LogLevel::Error,
                formatMessage(trNoop("No script to run: %s: %s."), configFilePath(), why.c_str()));
        return 1;
    }
    if (!why.empty()) {
        logLine(LogLevel::Warning,
                formatMessage(trNoop("%s: %s; read as 0."), configFilePath(), why.c_str()));
    }
    if (operation(config)) {
        return 0;
    }
    logLine(LogLevel::Error,
            formatMessage(trNoop("Script %d: the %s failed."), config.script, tr(name)));
    return 1;
}

// The script number as strtol reads it: leading blanks and a sign accepted, anything after the
// digits ignored. Empty without digits or outside the int32 range.
std::optional<int32_t> scriptNumber(const char* argument)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(argument, &end, 10);
    if (end == argument || errno == ERANGE || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

} // namespace

int helpCommand(const char*)
{
    printUsage();
    return 0;
}

int launchCommand(const char* argument)
{
    const auto number = argument != nullptr ? scriptNumber(argument) : std::nullopt;
    if (!number) {
        complain(trNoop("Usage: norva-snapshots-manager -s<number>"));
        return 1;
    }
    std::optional<RunLock> lock;
    const auto lockRun = [&lock] {
        lock = RunLock::acquire();
        return lock.has_value();
    };
    switch (launchScript(*number, lockRun)) {
    case LaunchStatus::Launched:
        say(trNoop("Snapshots automation script was successfully launched."));
        return 0;
    case LaunchStatus::Cancelled:
        say(trNoop("Snapshots automation script launch cancelled."));
        return 0;
    case LaunchStatus::Busy:
        complain(kBusyMessage);
        return 1;
    default:
        logLine(LogLevel::Error, formatMessage(trNoop("Script %d: the launch failed."), *number));
        complain(trNoop("An error occurred during snapshots automation script launch."));
        printUsage();
        return 1;
    }
}

int breakCommand(const char*)
{
    return report(stopAutomation(), trNoop("Snapshots automation has been stopped."),
                  trNoop("An error occurred during snapshots automation stopping."));
}

int restartCommand(const char*)
{
    return report(restartAutomation(), trNoop("Snapshots automation started."),
                  trNoop("An error occurred during snapshots automation start."));
}

int purgeCommand(const char*)
{
    return report(removeAllSnapshots({0, Why::Purge}),
                  trNoop("All snapshots were successfully deleted."),
                  trNoop("An error occurred during snapshots deleting."));
}

int checkCommand(const char*)
{
    return runSaved(checkScript, trNoop("check"));
}

int triggerCommand(const char*)
{
    return runSaved(triggerScript, trNoop("trigger"));
}

int infoCommand(const char*)
{
    return showInfo(loadConfig());
}
