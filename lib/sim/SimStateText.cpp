// SPDX-License-Identifier: LGPL-2.1-or-later
// The state file of the simulated snapshot library, one item per line, words separated by
// blanks; blank lines and lines starting with '#' are ignored:
//
//   root_size N                   size of the root volume in bytes
//   vg_free N                     free space of the volume group in bytes
//   boot_used N                   space in use on the /boot file system in bytes
//   next_id N                     id the next created snapshot gets (ids are never reused)
//   snapshot ID CTIME SIZE FILL   one per snapshot, in the order added: id, creation time in
//                                 seconds since the epoch (0 = not available), size in bytes,
//                                 percent
//   fail FUNCTION [ID|*] [COUNT]  the library function FUNCTION fails for snapshot ID, or for
//                                 every call with '*' or no ID; on every call, or only on the
//                                 next COUNT (at least 1) calls
//
// Missing figures count as 0; next_id is raised above every snapshot id. Any other line, a
// repeated snapshot id or an unknown function makes the whole text invalid.
#include "SimStateText.h"

#include "SimFailures.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <vector>

namespace {

[[nodiscard]] std::vector<std::string_view> splitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    constexpr std::string_view kBlanks = " \t\r";
    size_t start = line.find_first_not_of(kBlanks);
    while (start != std::string_view::npos) {
        const size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
        words.push_back(line.substr(start, end - start));
        start = line.find_first_not_of(kBlanks, end);
    }
    return words;
}

[[nodiscard]] std::optional<SimSnapshot> parseSnapshot(const std::vector<std::string_view>& words)
{
    if (words.size() != 5) {
        return std::nullopt;
    }
    const auto id = parseUnsigned(words[1]);
    const auto creationTime = parseUnsigned(words[2]);
    const auto size = parseUnsigned(words[3]);
    const auto fill = parseUnsigned(words[4]);
    if (!id || !creationTime || !size || !fill) {
        return std::nullopt;
    }
    return SimSnapshot{*id, *creationTime, *size, *fill};
}

[[nodiscard]] std::optional<SimFailure> parseFailure(const std::vector<std::string_view>& words)
{
    if (words.size() < 2 || words.size() > 4 || !isFailableFunction(words[1])) {
        return std::nullopt;
    }
    SimFailure failure{std::string(words[1]), std::nullopt, std::nullopt};
    if (words.size() >= 3 && words[2] != "*") {
        failure.snapshotId = parseUnsigned(words[2]);
        if (!failure.snapshotId) {
            return std::nullopt;
        }
    }
    if (words.size() == 4) {
        failure.remainingCalls = parseUnsigned(words[3]);
        if (!failure.remainingCalls || *failure.remainingCalls == 0) {
            return std::nullopt;
        }
    }
    return failure;
}

[[nodiscard]] bool parseFigure(const std::vector<std::string_view>& words, uint64_t& figure)
{
    const auto value = words.size() == 2 ? parseUnsigned(words[1]) : std::nullopt;
    if (value) {
        figure = *value;
    }
    return value.has_value();
}

[[nodiscard]] bool parseLine(const std::vector<std::string_view>& words, SimState& state)
{
    const std::string_view key = words[0];
    if (key == "snapshot") {
        const auto snapshot = parseSnapshot(words);
        const bool repeated =
            snapshot && std::any_of(state.snapshots.begin(), state.snapshots.end(),
                                    [&](const auto& s) { return s.id == snapshot->id; });
        if (snapshot && !repeated) {
            state.snapshots.push_back(*snapshot);
        }
        return snapshot && !repeated;
    }
    if (key == "fail") {
        const auto failure = parseFailure(words);
        if (failure) {
            state.failures.push_back(*failure);
        }
        return failure.has_value();
    }
    if (key == "root_size") {
        return parseFigure(words, state.rootSize);
    }
    if (key == "vg_free") {
        return parseFigure(words, state.vgFree);
    }
    if (key == "boot_used") {
        return parseFigure(words, state.bootUsed);
    }
    return key == "next_id" && parseFigure(words, state.nextId);
}

} // namespace

std::optional<uint64_t> parseUnsigned(std::string_view word)
{
    uint64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<SimState> parseSimState(std::string_view text)
{
    SimState state;
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        const auto words = splitWords(line);
        if (words.empty() || words[0].starts_with('#')) {
            continue;
        }
        if (!parseLine(words, state)) {
            return std::nullopt;
        }
    }
    for (const SimSnapshot& snapshot : state.snapshots) {
        state.nextId = std::max(state.nextId, snapshot.id + 1);
    }
    return state;
}

std::string formatSimState(const SimState& state)
{
    std::ostringstream text;
    text << "root_size " << state.rootSize << "\nvg_free " << state.vgFree << "\nboot_used "
         << state.bootUsed << "\nnext_id " << state.nextId << '\n';
    for (const SimSnapshot& s : state.snapshots) {
        text << "snapshot " << s.id << ' ' << s.creationTime << ' ' << s.size << ' '
             << s.fillingPercent << '\n';
    }
    for (const SimFailure& f : state.failures) {
        text << "fail " << f.function << ' ';
        text << (f.snapshotId ? std::to_string(*f.snapshotId) : std::string("*"));
        text << (f.remainingCalls ? " " + std::to_string(*f.remainingCalls) : std::string())
             << '\n';
    }
    return text.str();
}
