// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"
#include "scripts/ScriptTable.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The questions asked on the terminal when a script is launched. Questions and their error
// messages go to standard output, answers come from standard input. An answer of 0 cancels;
// so does an input that has ended or failed, since no answer can ever come from it.

// The parameters of script `number`, asked in the order of its row in the table of scripts;
// `script` stays 0 when the administrator cancelled or the number names no script.
[[nodiscard]] ScriptConfig askScriptParameters(int32_t number);

// Snapshot lifetime (false) or rotation period (true) in days: 1 to 7, or 0 to cancel.
[[nodiscard]] int32_t askDays(bool rotationPeriod);

// Number of snapshots in a queue: 2 to 6, or 0 to cancel.
[[nodiscard]] int32_t askQueueSize();

// The answer to one of those questions.
[[nodiscard]] int32_t askFor(Question question);

// An answer's number: an optional sign and digits, anything after them ignored. Empty when the
// word does not start that way or the value does not fit an int32.
[[nodiscard]] std::optional<int32_t> parseAnswer(std::string_view word);
