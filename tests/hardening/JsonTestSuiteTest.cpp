// Every parsing file of the public JSONTestSuite must read as the all-zero record (none of them
// holds our keys), and, set as the value of "script" beside a "lifetime" of 7, as the integer
// it holds: the file's number when it is a plain integer within the signed 64-bit range (its
// low 32 bits), else 0. Files a conforming parser must accept (y_) must then give the lifetime;
// the others may also make the whole text unreadable.
#include "config/ConfigFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int32_t kLifetime = 7;

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text's number when it is nothing but an integer in JSON's own notation (an optional
// minus, then 0 or digits without a leading 0), surrounded by JSON white space and within the
// signed 64-bit range.
std::optional<int64_t> plainInteger(const std::string& text)
{
    constexpr const char* kJsonSpace = " \t\r\n";
    const auto first = text.find_first_not_of(kJsonSpace);
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::string word = text.substr(first, text.find_last_not_of(kJsonSpace) + 1 - first);
    const std::string digits = word.front() == '-' ? word.substr(1) : word;
    const bool wellFormed = !digits.empty() &&
                            digits.find_first_not_of("0123456789") == std::string::npos &&
                            (digits == "0" || digits.front() != '0');
    if (!wellFormed) {
        return std::nullopt;
    }
    try {
        return std::stoll(word);
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
}

ScriptConfig embeddedExpectation(const std::string& text)
{
    const auto number = plainInteger(text);
    const int64_t value = number.value_or(0);
    return {static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))), kLifetime, 0,
            0};
}

std::vector<fs::path> suiteFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(NORVA_JSON_TEST_SUITE_DIR)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The text inside one pair of outer brackets, so that "[42]" is tried as 42 as well.
std::optional<std::string> insideBrackets(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    const auto last = text.find_last_not_of(" \t\r\n");
    if (first == std::string::npos || text[first] != '[' || text[last] != ']' || last == first) {
        return std::nullopt;
    }
    return text.substr(first + 1, last - first - 1);
}

// Checks one text as the value of "script"; `mustBeRead` when a conforming parser accepts it.
void expectReadAsItsInteger(const std::string& text, bool mustBeRead)
{
    const ScriptConfig embedded =
        parseConfig("{\"lifetime\":" + std::to_string(kLifetime) + ",\"script\":" + text + "}");
    const ScriptConfig expected = embeddedExpectation(text);
    if (mustBeRead || plainInteger(text)) {
        EXPECT_EQ(embedded, expected) << "as the value of \"script\": " << text;
    } else {
        EXPECT_TRUE(embedded == expected || embedded == ScriptConfig{})
            << "read as {" << embedded.script << ", " << embedded.lifetime << "}";
    }
}

TEST(JsonTestSuite, EveryParsingFileReadsAsTheZeroRecordOrTheIntegerItHolds)
{
    const auto files = suiteFiles();
    ASSERT_GT(files.size(), 300U) << "the suite's files are missing";
    size_t integers = 0;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string text = readBytes(file);
        EXPECT_EQ(parseConfig(text), ScriptConfig{});
        expectReadAsItsInteger(text, file.filename().string().starts_with("y_"));
        integers += plainInteger(text) ? 1U : 0U;
        if (const auto inner = insideBrackets(text)) {
            expectReadAsItsInteger(*inner, false);
            integers += plainInteger(*inner) ? 1U : 0U;
        }
    }
    RecordProperty("files", static_cast<int>(files.size()));
    std::cout << "[ suite    ] " << files.size() << " files, " << integers
              << " plain integers among them and their bracketed values\n";
    EXPECT_GE(integers, 5U) << "few integers: the embedding proves little";
}

} // namespace
