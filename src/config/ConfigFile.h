// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// The configuration file keeps the last launched script: one line of compact JSON with the keys
// "script", "lifetime", "quantity" and "size", in that order, and a line feed.

// The exact text written to the file, line feed included.
[[nodiscard]] std::string serializeConfig(const ScriptConfig& config);

// Maps any text onto a record. Text that is not one JSON object (within the parser's default
// limits) gives the all-zero record; a key that is missing or holds anything but a signed
// 64-bit integer gives 0 for its field alone.
// `problems`, when given, receives a line for each thing that read as 0 (translated).
[[nodiscard]] ScriptConfig parseConfig(std::istream& input,
                                       std::vector<std::string>* problems = nullptr);
[[nodiscard]] ScriptConfig parseConfig(std::string_view text);

// Replaces the file at `path` atomically. False when any step failed; the old file is then
// exactly as it was.
[[nodiscard]] bool saveConfigTo(const ScriptConfig& config, const char* path);

// Reads the file at `path`; every problem gives the all-zero record. Prints nothing.
[[nodiscard]] ScriptConfig loadConfigFrom(const char* path,
                                          std::vector<std::string>* problems = nullptr);

// The same on the tool's configuration path.
[[nodiscard]] bool saveConfig(const ScriptConfig& config);
[[nodiscard]] ScriptConfig loadConfig(std::vector<std::string>* problems = nullptr);
