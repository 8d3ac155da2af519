// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How figures read in the companion's output; each in the units of the user's language.

// Local date and time, "2026-12-07 04:13:05"; "unknown" for 0 (LVM has no creation time).
[[nodiscard]] std::string timeText(uint64_t seconds);

// A duration in its two largest units: "45 s", "12 min", "3 h 5 min", "2 d 4 h".
[[nodiscard]] std::string ageText(uint64_t seconds);

// Bytes in binary units with at most one decimal: "512 B", "516 MiB", "1.5 GiB".
[[nodiscard]] std::string sizeText(uint64_t bytes);

// Words joined by ", ".
[[nodiscard]] std::string joined(const std::vector<std::string>& words);
