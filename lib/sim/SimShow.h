// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "SimState.h"

#include <string>

// The state as an administrator reads it: one row per snapshot, oldest first, with its id,
// creation time in UTC ("-" when not available), size in bytes and GiB and filling percent;
// then the volume figures and the failures still to inject.
[[nodiscard]] std::string formatStateTable(const SimState& state);
