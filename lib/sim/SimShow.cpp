// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimShow.h"

#include "SimOperations.h"

#include <ctime>
#include <iomanip>
#include <sstream>

namespace {

[[nodiscard]] std::string utcDateTime(uint64_t seconds)
{
    if (seconds == 0) {
        return "-";
    }
    const auto time = static_cast<std::time_t>(seconds);
    std::tm fields{};
    char text[32] = "?";
    if (::gmtime_r(&time, &fields) != nullptr) {
        (void)std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &fields);
    }
    return text;
}

[[nodiscard]] std::string gibibytes(uint64_t bytes)
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(2)
         << static_cast<double>(bytes) / (1024.0 * 1024 * 1024);
    return text.str();
}

void writeSnapshotRows(std::ostream& out, const SimState& state)
{
    if (state.snapshots.empty()) {
        out << "no snapshots\n";
        return;
    }
    out << std::left << std::setw(6) << "ID" << std::setw(21) << "CREATED (UTC)" << std::right
        << std::setw(16) << "SIZE (BYTES)" << std::setw(12) << "SIZE (GiB)" << std::setw(7)
        << "FILL" << '\n';
    for (const uint64_t id : idsOldestFirst(state)) {
        const SimSnapshot& s = *findSnapshot(state, id);
        out << std::left << std::setw(6) << s.id << std::setw(21) << utcDateTime(s.creationTime)
            << std::right << std::setw(16) << s.size << std::setw(12) << gibibytes(s.size)
            << std::setw(6) << s.fillingPercent << "%\n";
    }
}

void writeFigure(std::ostream& out, const char* label, uint64_t bytes)
{
    out << std::left << std::setw(18) << label << std::right << std::setw(16) << bytes << " bytes ("
        << gibibytes(bytes) << " GiB)\n";
}

void writeFailure(std::ostream& out, const SimFailure& failure)
{
    out << "failing:          " << failure.function;
    if (failure.snapshotId) {
        out << " for snapshot " << *failure.snapshotId;
    }
    if (failure.remainingCalls) {
        out << ", next " << *failure.remainingCalls << " call(s)\n";
    } else {
        out << ", every call\n";
    }
}

} // namespace

std::string formatStateTable(const SimState& state)
{
    std::ostringstream out;
    writeSnapshotRows(out, state);
    writeFigure(out, "root volume size:", state.rootSize);
    writeFigure(out, "VG free space:", state.vgFree);
    writeFigure(out, "boot used space:", state.bootUsed);
    for (const SimFailure& failure : state.failures) {
        writeFailure(out, failure);
    }
    return out.str();
}
