// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/SnapshotChanges.h"

#include "text/SystemLog.h"
#include "text/Translate.h"

#include <array>
#include <string>

namespace {

constexpr std::array kReasons{
    trNoop("launch"),   trNoop("purge"),      trNoop("no snapshot"), trNoop("surplus"),
    trNoop("unusable"), trNoop("wrong size"), trNoop("rotation"),    trNoop("additional"),
    trNoop("undated"),  trNoop("too close"),  trNoop("overfilled"),
};

// "Script 2, rotation" or "All snapshots, purge": who asks and why, at the head of each line.
[[nodiscard]] std::string asker(const Cause& cause)
{
    const char* reason = tr(kReasons.at(static_cast<size_t>(cause.why)));
    return cause.script > 0 ? formatMessage(trNoop("Script %d, %s"), cause.script, reason)
                            : formatMessage(trNoop("All snapshots, %s"), reason);
}

[[nodiscard]] std::string sizeText(uint64_t size)
{
    return size == 0 ? std::string(tr("full size"))
                     : formatMessage(trNoop("%llu bytes"), static_cast<unsigned long long>(size));
}

// Logs the change, makes it, and logs its failure: the library's own line then says why.
template <typename Act> bool changeLogged(const Cause& cause, const std::string& change, Act act)
{
    const std::string who = asker(cause);
    logLine(LogLevel::Notice, formatMessage(trNoop("%s: %s."), who.c_str(), change.c_str()));
    if (act()) {
        return true;
    }
    logLine(LogLevel::Error, formatMessage(trNoop("%s: %s failed."), who.c_str(), change.c_str()));
    return false;
}

} // namespace

std::string refusalReason(int32_t code)
{
    switch (code) {
    case NORVA_NO_ROOT_VOLUME:
        return tr("\"/\" is not on an LVM logical volume of which snapshots can be made");
    case NORVA_REPORT_FAILED:
        return tr("LVM could not report the root volume group");
    case NORVA_NO_SPACE:
        return tr("the root volume group has too little free space");
    case NORVA_MERGE_PENDING:
        return tr("a snapshot is being merged back into the root volume");
    case NORVA_TOO_SMALL:
        return tr("the size is below one extent of the root volume group");
    default:
        return formatMessage(trNoop("the snapshot library answered %d"), code);
    }
}

bool creationAllowed(const Cause& cause, uint64_t size)
{
    const int32_t answer = can_create_lvm_snapshot(size);
    if (answer != NORVA_CAN_CREATE) {
        logLine(LogLevel::Error, formatMessage(trNoop("%s: no snapshot of %s can be made now: %s."),
                                               asker(cause).c_str(), sizeText(size).c_str(),
                                               refusalReason(answer).c_str()));
    }
    return answer == NORVA_CAN_CREATE;
}

bool createSnapshot(const Cause& cause, uint64_t size)
{
    return changeLogged(cause,
                        formatMessage(trNoop("creating a snapshot of %s"), sizeText(size).c_str()),
                        [size] { return create_lvm_snapshot(size); });
}

bool createIfAllowed(const Cause& cause, uint64_t size)
{
    return creationAllowed(cause, size) && createSnapshot(cause, size);
}

bool removeSnapshot(const Cause& cause, SnapshotHandle snapshot)
{
    return changeLogged(cause, tr("removing a snapshot"),
                        [snapshot] { return remove_lvm_snapshot(snapshot); });
}

bool resizeSnapshot(const Cause& cause, SnapshotHandle snapshot, uint64_t size)
{
    return changeLogged(cause,
                        formatMessage(trNoop("resizing a snapshot to %s"), sizeText(size).c_str()),
                        [snapshot, size] { return resize_lvm_snapshot(snapshot, size); });
}

bool removeEntries(const Cause& cause, const SnapshotListGuard& list, std::size_t first,
                   std::size_t end)
{
    bool allRemoved = true;
    for (std::size_t index = first; index < end && index < list.size(); ++index) {
        allRemoved = removeSnapshot(cause, list.at(index)) && allRemoved;
    }
    return allRemoved;
}
