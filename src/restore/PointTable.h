// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "restore/RestorePoints.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The restore points as `list` writes them, `now` being the time their ages are counted to.

// A table for the administrator: a header and one aligned row a restore point, in the user's
// language; a line saying there is none when the list is empty.
void writePointTable(std::ostream& out, const std::vector<RestorePoint>& points, uint64_t now);

// One JSON object for scripts and fleets: the root, whether a merge is pending, and the points
// with numbers in bytes, seconds and percent, and states as fixed English words.
void writePointJson(std::ostream& out, const std::string& root, bool mergePending,
                    const std::vector<RestorePoint>& points, uint64_t now);

// The state as a fixed word ("usable", "overflowed", "invalid", "merging").
[[nodiscard]] const char* stateWord(PointState state);
