// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// The parameter lines of `-i`: a translated label, then the value, or "unknown" for 0.

// "<label>N days" or "<label>unknown".
void writeDaysLine(const char* label, int32_t days);

// "<label>N" or "<label>unknown".
void writeCountLine(const char* label, int32_t count);
