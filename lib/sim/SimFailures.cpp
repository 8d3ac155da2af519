// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimFailures.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<std::string_view, 11> kFailableFunctions{
    "existing_lvm_snapshots",       "create_lvm_snapshot",      "can_create_lvm_snapshot",
    "remove_lvm_snapshot",          "resize_lvm_snapshot",      "lvm_snapshot_creation_time",
    "lvm_snapshot_filling_percent", "lvm_snapshot_size",        "root_volume_size",
    "root_vg_free_space",           "boot_partition_used_space"};

constexpr std::array<std::string_view, 5> kSnapshotFunctions{
    "remove_lvm_snapshot", "resize_lvm_snapshot", "lvm_snapshot_creation_time",
    "lvm_snapshot_filling_percent", "lvm_snapshot_size"};

[[nodiscard]] bool contains(const auto& names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

[[nodiscard]] auto findFailure(SimState& state, std::string_view function,
                               std::optional<uint64_t> snapshotId)
{
    return std::find_if(state.failures.begin(), state.failures.end(), [&](const SimFailure& f) {
        return f.function == function && f.snapshotId == snapshotId;
    });
}

} // namespace

bool isFailableFunction(std::string_view function)
{
    return contains(kFailableFunctions, function);
}

bool actsOnSnapshot(std::string_view function)
{
    return contains(kSnapshotFunctions, function);
}

bool takeInjectedFailure(SimState& state, std::string_view function,
                         std::optional<uint64_t> snapshotId)
{
    auto failure = state.failures.end();
    if (snapshotId) {
        failure = findFailure(state, function, snapshotId);
    }
    if (failure == state.failures.end()) {
        failure = findFailure(state, function, std::nullopt);
    }
    if (failure == state.failures.end()) {
        return false;
    }
    if (failure->remainingCalls && --*failure->remainingCalls == 0) {
        state.failures.erase(failure);
    }
    return true;
}
