// SPDX-License-Identifier: LGPL-2.1-or-later
#include "SimArguments.h"

#include "SimStateText.h"

#include <ctime>
#include <limits>

namespace {

[[nodiscard]] std::optional<unsigned> suffixShift(char suffix)
{
    switch (suffix) {
    case 'K':
    case 'k':
        return 10;
    case 'M':
    case 'm':
        return 20;
    case 'G':
    case 'g':
        return 30;
    case 'T':
    case 't':
        return 40;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<CommandArguments> splitArguments(const std::vector<std::string>& words,
                                               const std::set<std::string>& valueOptions,
                                               const std::set<std::string>& flags)
{
    CommandArguments arguments;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!word.starts_with("--")) {
            arguments.positional.push_back(word);
            continue;
        }
        const size_t equals = word.find('=');
        const std::string name = word.substr(2, equals == std::string::npos ? equals : equals - 2);
        if (flags.contains(name) && equals == std::string::npos) {
            arguments.options[name] = "";
        } else if (valueOptions.contains(name) && equals != std::string::npos) {
            arguments.options[name] = word.substr(equals + 1);
        } else if (valueOptions.contains(name) && i + 1 < words.size()) {
            arguments.options[name] = words[++i];
        } else {
            return std::nullopt;
        }
    }
    return arguments;
}

std::optional<uint64_t> parseSize(std::string_view text)
{
    const auto shift = text.empty() ? std::nullopt : suffixShift(text.back());
    const auto number = parseUnsigned(shift ? text.substr(0, text.size() - 1) : text);
    if (!number || (shift && *number > (std::numeric_limits<uint64_t>::max() >> *shift))) {
        return std::nullopt;
    }
    return shift ? *number << *shift : *number;
}

std::optional<uint64_t> parseTime(std::string_view text)
{
    if (const auto seconds = parseUnsigned(text)) {
        return seconds;
    }
    const std::string dateTime(text.ends_with('Z') ? text.substr(0, text.size() - 1) : text);
    std::tm fields{};
    for (const char* format : {"%Y-%m-%dT%H:%M:%S", "%Y-%m-%d %H:%M:%S"}) {
        const char* end = ::strptime(dateTime.c_str(), format, &fields);
        if (end != nullptr && *end == '\0') {
            const std::time_t seconds = ::timegm(&fields);
            if (seconds >= 0) {
                return static_cast<uint64_t>(seconds);
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

bool readOption(const CommandArguments& arguments, const std::string& name,
                std::optional<uint64_t> (*parse)(std::string_view), uint64_t& target)
{
    const auto given = arguments.options.find(name);
    if (given == arguments.options.end()) {
        return true;
    }
    const auto value = parse(given->second);
    if (value) {
        target = *value;
    }
    return value.has_value();
}
