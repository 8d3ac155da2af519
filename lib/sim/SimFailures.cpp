// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimFailures.h"

#include "norvasnapshots_functions.h"

#include <algorithm>
#include <iterator>

namespace {

[[nodiscard]] const NorvaFunction* findFunction(std::string_view name)
{
    const auto* found = std::find_if(std::begin(kNorvaFunctions), std::end(kNorvaFunctions),
                                     [name](const NorvaFunction& f) { return f.name == name; });
    return found == std::end(kNorvaFunctions) ? nullptr : found;
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
    const NorvaFunction* found = findFunction(function);
    return found != nullptr && found->kind != NORVA_RELEASES;
}

bool actsOnSnapshot(std::string_view function)
{
    const NorvaFunction* found = findFunction(function);
    return found != nullptr &&
           (found->kind == NORVA_ANSWERS_ONE || found->kind == NORVA_CHANGES_ONE);
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
