// SPDX-License-Identifier: LGPL-2.1-or-later
#include "LvmCommands.h"

#include "LvmReport.h"
#include "SnapshotRecord.h"
#include "SnapshotSizes.h"

std::vector<std::string> lvmEnvironment()
{
    return {"LC_ALL=C", "PATH=/usr/sbin:/usr/bin:/sbin:/bin", "LVM_SUPPRESS_FD_WARNINGS=1"};
}

namespace {

// A JSON report with sizes in bytes; lvs's of hidden LVs too.
[[nodiscard]] std::vector<std::string>
jsonReport(const std::string& command, const std::string& fields, const std::string& selection)
{
    std::vector<std::string> report{command, "--reportformat", "json", "--units", "b", "--nosuffix",
                                    "-o",    fields,           "-S",   selection};
    if (command == "lvs") {
        report.insert(report.begin() + 1, "-a");
    }
    return report;
}

} // namespace

std::vector<std::string> reportCommand(const std::string& vg)
{
    std::vector<std::string> command = jsonReport("lvs", reportFields(), "vg_name=\"" + vg + "\"");
    command.insert(command.begin() + 2, {"--config", "report/time_format=\"%s\""});
    return command;
}

std::vector<std::string> volumesCommand(const std::string& vgUuid)
{
    return jsonReport("pvs", "pv_name,pv_free", "vg_uuid=" + vgUuid);
}

std::vector<std::string> devicesCommand(const std::string& vgUuid)
{
    return jsonReport("lvs", "lv_name,devices,metadata_devices", "vg_uuid=" + vgUuid);
}

std::vector<std::string> createCommand(const NewSnapshot& snapshot)
{
    std::vector<std::string> command{"lvcreate",
                                     "-y",
                                     "-s",
                                     "-c",
                                     std::to_string(kChunkSize / 1024) + "k",
                                     "-l",
                                     std::to_string(snapshot.extents),
                                     "-n",
                                     snapshot.name,
                                     "--addtag",
                                     kOwnTag,
                                     "--addtag",
                                     sizeTag(snapshot.askedSize),
                                     "--addtag",
                                     sequenceTag(snapshot.sequence),
                                     "--addtag",
                                     chunkTag(kChunkSize),
                                     snapshot.vg + "/" + snapshot.origin};
    command.insert(command.end(), snapshot.pvs.begin(), snapshot.pvs.end());
    return command;
}

std::vector<std::string> resizeCommand(const std::string& vg, const std::string& lv,
                                       uint64_t extents)
{
    // -y: shrinking asks for a confirmation that nobody is there to give.
    return {"lvresize", "-y", "-l", std::to_string(extents), vg + "/" + lv};
}

std::vector<std::string> retagCommand(const std::string& vg, const std::string& lv,
                                      std::optional<uint64_t> oldSize, uint64_t askedSize)
{
    std::vector<std::string> command{"lvchange"};
    if (oldSize) {
        command.insert(command.end(), {"--deltag", sizeTag(*oldSize)});
    }
    command.insert(command.end(), {"--addtag", sizeTag(askedSize), vg + "/" + lv});
    return command;
}

std::vector<std::string> removeCommand(const std::string& vg, const std::string& lv)
{
    return {"lvremove", "-y", vg + "/" + lv};
}
