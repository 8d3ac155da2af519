// SPDX-License-Identifier: LGPL-2.1-or-later
#include "LvmSession.h"

#include "LvmCommands.h"

#include <syslog.h>
#include <utility>

namespace {

// lvm's message as one log line.
[[nodiscard]] std::string oneLine(const std::string& text)
{
    std::string line;
    for (const char c : text) {
        if (c == '\n') {
            if (!line.empty() && line.back() != ' ') {
                line += "; ";
            }
        } else if (c != ' ' || (!line.empty() && line.back() != ' ')) {
            line.push_back(c);
        }
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';')) {
        line.pop_back();
    }
    return line;
}

[[nodiscard]] std::string describeFailure(const std::vector<std::string>& command,
                                          const ProgramResult& result)
{
    std::string what = "lvm " + command.front();
    if (!result.started) {
        return what + ": " + result.failure;
    }
    what += " failed (exit status " + std::to_string(result.status) + ")";
    const std::string message = oneLine(result.err);
    return message.empty() ? what : what + ": " + message;
}

} // namespace

LvmSession::LvmSession(SystemPaths paths, LogSink log, Clock clock)
    : paths_(std::move(paths)), log_(std::move(log)), clock_(std::move(clock))
{
}

void LvmSession::log(const char* caller, const std::string& message) const
{
    log_(LOG_ERR, std::string(caller) + ": " + message);
}

void LvmSession::notice(const std::string& message) const
{
    log_(LOG_NOTICE, message);
}

const RootIdentity* LvmSession::root(const char* caller)
{
    if (!rootLooked_) {
        rootLooked_ = true;
        std::string why;
        root_ = discoverRoot(paths_, why);
        if (!root_) {
            log(caller, why + "; no snapshot of it is listed, made or changed");
        }
    }
    return root_ ? &*root_ : nullptr;
}

bool LvmSession::readReport(const char* caller)
{
    const RootIdentity* identity = root(caller);
    if (identity == nullptr) {
        return false;
    }
    const std::vector<std::string> command = reportCommand(identity->vgName);
    const ProgramResult result = runLvm(command);
    if (!result.succeeded()) {
        log(caller, describeFailure(command, result));
        return false;
    }
    std::string why;
    report_ = LvmReport::parse(result.out, *identity, why);
    stale_ = false;
    if (!report_) {
        log(caller, why);
    }
    return report_.has_value();
}

const LvmReport* LvmSession::report(const char* caller)
{
    if ((!report_ || stale_) && !readReport(caller)) {
        return nullptr;
    }
    return &*report_;
}

const LvmReport* LvmSession::knownReport(const char* caller)
{
    return report_ ? &*report_ : report(caller);
}

ProgramResult LvmSession::runLvm(const std::vector<std::string>& command) const
{
    std::vector<std::string> argv{paths_.lvmProgram};
    argv.insert(argv.end(), command.begin(), command.end());
    return runProgram(paths_.lvmProgram, argv, lvmEnvironment());
}

bool LvmSession::change(const std::vector<std::string>& command, const char* caller)
{
    const ProgramResult result = runLvm(command);
    stale_ = true;
    if (!result.succeeded()) {
        log(caller, describeFailure(command, result));
    }
    return result.succeeded();
}

SnapshotHandle* LvmSession::keepList(std::vector<NorvaSnapshot> snapshots)
{
    auto list = std::make_unique<HeldList>();
    list->snapshots = std::move(snapshots);
    for (NorvaSnapshot& snapshot : list->snapshots) {
        list->handles.push_back(&snapshot);
    }
    list->handles.push_back(nullptr);
    SnapshotHandle* const handles = list->handles.data();
    lists_.emplace(handles, std::move(list));
    return handles;
}

void LvmSession::releaseList(SnapshotHandle* list)
{
    lists_.erase(list);
}
