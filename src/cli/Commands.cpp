// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/Automation.h"
#include "automation/RunLock.h"
#include "cli/Messages.h"
#include "cli/Options.h"
#include "cli/Usage.h"
#include "config/ConfigFile.h"
#include "config/ConfigPath.h"
#include "scripts/ScriptNumbers.h"
#include "scripts/ScriptRunner.h"
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

// The script number as strtol reads it: leading blanks and a sign accepted, anything after the
// digits ignored. Empty without digits or outside the int32 range.
// The saved script for -c and -t; what made it unusable, or read as 0, goes to the log.
ScriptConfig loadLogged()
{
    std::vector<std::string> problems;
    const ScriptConfig config = loadConfig(&problems);
    std::string why;
    for (const std::string& problem : problems) {
        why += (why.empty() ? "" : "; ") + problem;
    }
    if (!isValidScript(config.script)) {
        if (problems.empty()) {
            why = formatMessage(trNoop("script %d is not one of 1 to 6"), config.script);
        }
        logLine(LogLevel::Error,
                formatMessage(trNoop("No script to run: %s: %s."), configFilePath(), why.c_str()));
    } else if (!why.empty()) {
        logLine(LogLevel::Warning,
                formatMessage(trNoop("%s: %s; read as 0."), configFilePath(), why.c_str()));
    }
    return config;
}

// A failed -c or -t, after the lines that said why.
int reportRun(bool succeeded, const ScriptConfig& config, const char* operation)
{
    if (!succeeded && isValidScript(config.script)) {
        logLine(LogLevel::Error,
                formatMessage(trNoop("Script %d: the %s failed."), config.script, tr(operation)));
    }
    return succeeded ? 0 : 1;
}

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
    const ScriptConfig config = loadLogged();
    return reportRun(checkScript(config), config, trNoop("check"));
}

int triggerCommand(const char*)
{
    const ScriptConfig config = loadLogged();
    return reportRun(triggerScript(config), config, trNoop("trigger"));
}

int infoCommand(const char*)
{
    return showInfo(loadConfig());
}
