// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <cstdint>

// The table of script numbers: 0 (none) and the six scripts.
inline constexpr std::array<int32_t, 7> kScriptNumbers{0, 1, 2, 3, 4, 5, 6};

// True for 1 to 6: 0 is in the table but never names a script.
[[nodiscard]] constexpr bool isValidScript(int32_t number)
{
    return number >= 1 && number < static_cast<int32_t>(kScriptNumbers.size());
}
