// SPDX-License-Identifier: LGPL-2.1-or-later
#include "LvmSession.h"

#include "LvmCommands.h"
#include "RootLayout.h"

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

void LvmSession::warn(const std::string& message) const
{
    log_(LOG_WARNING, message);
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

std::optional<std::string> LvmSession::readLvm(const std::vector<std::string>& command,
                                               const char* caller) const
{
    const ProgramResult result = runLvm(command);
    if (!result.succeeded()) {
        log(caller, describeFailure(command, result));
        return std::nullopt;
    }
    return result.out;
}

bool LvmSession::readReport(const char* caller)
{
    const RootIdentity* identity = root(caller);
    if (identity == nullptr || refused_) {
        return false;
    }
    const auto json = readLvm(reportCommand(identity->vgName), caller);
    if (!json) {
        return false;
    }
    std::string why;
    report_ = LvmReport::parse(*json, *identity, why);
    stale_ = false;
    if (report_) {
        why = rootRefusal(*report_);
        refused_ = !why.empty();
    }
    if (!why.empty()) {
        log(caller, why + (refused_ ? "; no snapshot of it is listed, made or changed" : ""));
        report_.reset();
        return false;
    }
    checkNamesakes();
    return true;
}

void LvmSession::checkNamesakes()
{
    const std::vector<std::string>& others = report_->namesakes();
    if (others.empty() || namesakesTold_) {
        return;
    }
    namesakesTold_ = true;
    const LvRow& root = report_->root();
    std::string uuids;
    for (const std::string& uuid : others) {
        uuids += (uuids.empty() ? "" : ", ") + withDashes(uuid);
    }
    const std::string name = root.vgName;
    warn("another volume group is named " + name + " too (uuid " + uuids +
         "), beside the root's (uuid " + withDashes(root.vgUuid) +
         "). LVM refuses every command that names " + name +
         ", the boot's activation of the root included; this library works on the root's volume "
         "group by its uuid and devices. Give the other one a name of its own: vgrename " +
         withDashes(others.front()) + " NEW_NAME");
}

std::optional<std::vector<PhysicalVolume>> LvmSession::physicalVolumes(const char* caller)
{
    const LvmReport* current = report(caller);
    if (current == nullptr) {
        return std::nullopt;
    }
    if (!volumes_) {
        const auto json = readLvm(volumesCommand(withDashes(current->root().vgUuid)), caller);
        volumes_ = json ? parsePhysicalVolumes(*json) : std::nullopt;
    }
    return volumes_;
}

std::optional<std::vector<std::string>> LvmSession::rootPvs(const char* caller)
{
    const LvmReport* current = report(caller);
    if (current == nullptr) {
        return std::nullopt;
    }
    const auto json = readLvm(devicesCommand(withDashes(current->root().vgUuid)), caller);
    return json ? volumePvs(*json, current->root().name) : std::nullopt;
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

int32_t LvmSession::failureCode() const
{
    return root_ && !refused_ ? NORVA_REPORT_FAILED : NORVA_NO_ROOT_VOLUME;
}

ProgramResult LvmSession::runLvm(const std::vector<std::string>& command) const
{
    std::vector<std::string> argv{paths_.lvmProgram};
    argv.insert(argv.end(), command.begin(), command.end());
    return runProgram(paths_.lvmProgram, argv, lvmEnvironment());
}

bool LvmSession::change(std::vector<std::string> command, const char* caller)
{
    if (report_ && !report_->namesakes().empty()) {
        const auto volumes = physicalVolumes(caller);
        std::string devices;
        for (const PhysicalVolume& volume : volumes.value_or(std::vector<PhysicalVolume>())) {
            if (volume.name.starts_with('/')) {
                devices += (devices.empty() ? "" : ",") + volume.name;
            }
        }
        if (!devices.empty()) {
            command.insert(command.begin() + 1, {"--devices", devices});
        }
    }
    const ProgramResult result = runLvm(command);
    stale_ = true;
    volumes_.reset();
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
