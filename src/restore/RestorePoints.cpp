// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/RestorePoints.h"

#include "LvmCommands.h"
#include "ProgramRunner.h"
#include "RootDevice.h"
#include "SnapshotRecord.h"
#include "text/Translate.h"

namespace {

constexpr const char* kLvmProgram = "/usr/sbin/lvm";

[[nodiscard]] PointState stateOf(const NorvaSnapshot& snapshot)
{
    if (!snapshot.measurable) {
        return PointState::Invalid;
    }
    if (snapshot.invalid || fillingPercent(snapshot) > 99) {
        return PointState::Overflowed;
    }
    return snapshot.creationTime == 0 ? PointState::Invalid : PointState::Usable;
}

[[nodiscard]] RestorePoint pointFrom(const NorvaSnapshot& snapshot, const LvRow& root)
{
    return {snapshot.name,     snapshot.vgName,
            snapshot.uuid,     snapshot.creationTime,
            snapshot.size,     fillingPercent(snapshot),
            stateOf(snapshot), reportedSize(snapshot) == root.size};
}

// LVM hides a snapshot once it merges back ("[name]", attribute S) and the library then lists
// it no more; it is still one of ours.
[[nodiscard]] bool isOurMergingSnapshot(const LvRow& row, const LvRow& root)
{
    return !row.attr.empty() && row.attr[0] == 'S' && row.originUuid == root.uuid &&
           row.vgUuid == root.vgUuid && row.hasOurTags();
}

[[nodiscard]] std::string withoutBrackets(const std::string& name)
{
    return name.size() > 2 && name.front() == '[' && name.back() == ']'
               ? name.substr(1, name.size() - 2)
               : name;
}

// lvm's message as one line.
[[nodiscard]] std::string oneLine(std::string text)
{
    for (char& c : text) {
        c = c == '\n' ? ' ' : c;
    }
    const size_t start = text.find_first_not_of(' ');
    const size_t end = text.find_last_not_of(' ');
    return start == std::string::npos ? std::string() : text.substr(start, end - start + 1);
}

[[nodiscard]] ProgramResult runLvm(const std::vector<std::string>& command)
{
    std::vector<std::string> argv{kLvmProgram};
    argv.insert(argv.end(), command.begin(), command.end());
    return runProgram(kLvmProgram, argv, lvmEnvironment());
}

[[nodiscard]] std::string lvmFailure(const std::vector<std::string>& command,
                                     const ProgramResult& result)
{
    return formatMessage(trNoop("lvm %s failed: %s"), command.front().c_str(),
                         (result.started ? oneLine(result.err) : result.failure).c_str());
}

} // namespace

std::string RestorePoint::device() const
{
    // Device-mapper doubles the dashes inside VG and LV names.
    std::string path = "/dev/mapper/";
    for (const std::string* part : {&vgName, &name}) {
        for (const char c : *part) {
            path += c == '-' ? std::string("--") : std::string(1, c);
        }
        path += part == &vgName ? "-" : "";
    }
    return path;
}

std::vector<RestorePoint> restorePoints(const LvmReport& report)
{
    std::vector<RestorePoint> points;
    for (const NorvaSnapshot& snapshot : ourSnapshots(report)) {
        points.push_back(pointFrom(snapshot, report.root()));
    }
    for (const LvRow& row : report.rows()) {
        if (isOurMergingSnapshot(row, report.root())) {
            RestorePoint point = pointFrom(snapshotFromRow(row, report.root()), report.root());
            point.name = withoutBrackets(point.name);
            point.state = PointState::Merging;
            points.push_back(point);
        }
    }
    return points;
}

RestoreVolumes::RestoreVolumes(LvmReport report)
    : report_(std::move(report)), points_(restorePoints(report_))
{
}

std::optional<RestoreVolumes> RestoreVolumes::read(std::string& why)
{
    std::string detail;
    const auto root = discoverRoot({kLvmProgram, "/proc/self/mountinfo", "/sys", "/boot"}, detail);
    if (!root) {
        why = formatMessage(trNoop("The restore points cannot be read: %s."), detail.c_str());
        return std::nullopt;
    }
    // The report shows hidden volumes too: the snapshot being merged back among them.
    const std::vector<std::string> command = reportCommand(root->vgName);
    const ProgramResult result = runLvm(command);
    if (!result.succeeded()) {
        why = formatMessage(trNoop("The restore points cannot be read: %s."),
                            lvmFailure(command, result).c_str());
        return std::nullopt;
    }
    auto report = LvmReport::parse(result.out, *root, detail);
    if (!report) {
        why = formatMessage(trNoop("The restore points cannot be read: %s."), detail.c_str());
        return std::nullopt;
    }
    return RestoreVolumes(std::move(*report));
}

const RestorePoint* RestoreVolumes::find(std::string_view name) const
{
    for (const RestorePoint& point : points_) {
        if (point.name == name || point.fullName() == name) {
            return &point;
        }
    }
    return nullptr;
}

std::string RestoreVolumes::rootName() const
{
    return report_.root().vgName + "/" + report_.root().name;
}

bool runLvmChange(const std::vector<std::string>& command, std::string& why)
{
    const ProgramResult result = runLvm(command);
    if (!result.succeeded()) {
        why = lvmFailure(command, result);
    }
    return result.succeeded();
}
