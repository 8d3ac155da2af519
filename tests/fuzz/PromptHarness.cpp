#include "PromptHarness.h"

#include "config/Prompts.h"

#include <iostream>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
constexpr std::string_view kQuestionEnd = "or 0 to cancel: ";
constexpr int64_t kInt32Span = int64_t{1} << 31;

std::vector<std::string_view> wordsOf(std::string_view input)
{
    std::vector<std::string_view> words;
    size_t start = input.find_first_not_of(kWhiteSpace);
    while (start != std::string_view::npos) {
        const size_t end = input.find_first_of(kWhiteSpace, start);
        words.push_back(input.substr(start, end - start));
        start = end == std::string_view::npos ? end : input.find_first_not_of(kWhiteSpace, end);
    }
    return words;
}

// A sign and digits, what follows ignored; nothing when there are no digits or the value does
// not fit an int32. Written apart from the tool's own reading on purpose.
std::optional<int32_t> expectedAnswer(std::string_view word)
{
    const bool negative = !word.empty() && word.front() == '-';
    if (!word.empty() && (word.front() == '-' || word.front() == '+')) {
        word.remove_prefix(1);
    }
    int64_t magnitude = 0;
    size_t digits = 0;
    for (; digits < word.size() && word[digits] >= '0' && word[digits] <= '9'; ++digits) {
        magnitude = std::min<int64_t>(magnitude * 10 + (word[digits] - '0'), kInt32Span + 1);
    }
    if (digits == 0 || magnitude > (negative ? kInt32Span : kInt32Span - 1)) {
        return std::nullopt;
    }
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

bool withinBounds(int32_t number, const ScriptConfig& config)
{
    if (config.script == 0) {
        return config == ScriptConfig{};
    }
    const bool asksDays = number == 2 || number == 4 || number == 5 || number == 6;
    const bool daysFit =
        asksDays ? config.lifetime >= 1 && config.lifetime <= 7 : config.lifetime == 0;
    const bool queueFits =
        number == 5 ? config.quantity >= 2 && config.quantity <= 6 : config.quantity == 0;
    return config.script == number && number >= 1 && number <= 6 && daysFit && queueFits &&
           config.snapshotSize == 0;
}

size_t questionsAsked(const std::string& output)
{
    size_t count = 0;
    for (size_t at = output.find(kQuestionEnd); at != std::string::npos;
         at = output.find(kQuestionEnd, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace

std::string promptInputProblem(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return {};
    }
    const int32_t number = static_cast<int32_t>(data[0]) - '0';
    const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    for (const std::string_view word : wordsOf(input)) {
        if (parseAnswer(word) != expectedAnswer(word)) {
            return "the answer \"" + std::string(word) + "\" was read wrongly";
        }
    }
    std::istringstream in(input);
    std::ostringstream out;
    std::streambuf* const savedIn = std::cin.rdbuf(in.rdbuf());
    std::streambuf* const savedOut = std::cout.rdbuf(out.rdbuf());
    std::cin.clear();
    const ScriptConfig config = askScriptParameters(number);
    std::cin.rdbuf(savedIn);
    std::cout.rdbuf(savedOut);
    std::cin.clear();
    if (!withinBounds(number, config)) {
        return "script " + std::to_string(number) + " gave a record outside the bounds";
    }
    if (questionsAsked(out.str()) > wordsOf(input).size() + 2) {
        return "more questions than answers to read";
    }
    return {};
}
