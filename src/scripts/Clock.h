// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// Seam: the current time in seconds since the Unix epoch, for snapshot ages.
// The tool links the C library's time(); unit tests link a clock the test sets.
[[nodiscard]] uint64_t currentTime();
