// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses of norva-sim.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The words after a norva-sim command: its positional arguments and its options, given as
// "--name VALUE", "--name=VALUE" or, for flags, "--name".
struct CommandArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;

    [[nodiscard]] bool has(const std::string& name) const { return options.contains(name); }
};

// nullopt for an option that is neither a value option nor a flag of the command, or a value
// option without its value.
[[nodiscard]] std::optional<CommandArguments>
splitArguments(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
               const std::set<std::string>& flags = {});

// A size in bytes, or with a binary suffix K, M, G or T ("10G" is 10 GiB).
[[nodiscard]] std::optional<uint64_t> parseSize(std::string_view text);

// Seconds since the epoch, or a UTC date-time "YYYY-MM-DDTHH:MM:SS" (also with a blank for
// the T, or a trailing Z).
[[nodiscard]] std::optional<uint64_t> parseTime(std::string_view text);

// Stores the option's value, parsed by parse, in target when the option is given. False when
// it is given with a value parse refuses; target is then unchanged.
[[nodiscard]] bool readOption(const CommandArguments& arguments, const std::string& name,
                              std::optional<uint64_t> (*parse)(std::string_view), uint64_t& target);
