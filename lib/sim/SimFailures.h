// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "SimState.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The library functions a failure can be injected into: all but the release of a list,
// which has no result to fail with.
[[nodiscard]] bool isFailableFunction(std::string_view function);

// The functions that act on one snapshot, where a failure can be limited to that snapshot.
[[nodiscard]] bool actsOnSnapshot(std::string_view function);

// True when an injected failure applies to this call. A failure for the snapshot itself is
// used before one for every call; a counted failure is used up by the call it applies to.
[[nodiscard]] bool takeInjectedFailure(SimState& state, std::string_view function,
                                       std::optional<uint64_t> snapshotId = std::nullopt);
