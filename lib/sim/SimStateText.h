// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "SimState.h"

#include <optional>
#include <string>
#include <string_view>

// The state as text, the form kept in the state file. nullopt for text that is not a valid
// state, so that a damaged file makes the library answer failure instead of guessing.
[[nodiscard]] std::optional<SimState> parseSimState(std::string_view text);

[[nodiscard]] std::string formatSimState(const SimState& state);

// A whole word as an unsigned decimal number; nullopt for anything else.
[[nodiscard]] std::optional<uint64_t> parseUnsigned(std::string_view word);
