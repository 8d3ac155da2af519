// Replays every input of the fuzz corpora and of the fuzzers' past findings through the checks
// the fuzz targets make, so that a finding, once fixed, stays fixed in every build.
#include "ConfigHarness.h"
#include "PromptHarness.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsUnder(const fs::path& directory)
{
    std::vector<fs::path> inputs;
    std::error_code missing;
    for (fs::recursive_directory_iterator entry(directory, missing), end; entry != end; ++entry) {
        if (entry->is_regular_file()) {
            inputs.push_back(entry->path());
        }
    }
    return inputs;
}

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CorpusReplay, EveryConfigurationInputPassesTheFuzzTargetsChecks)
{
    auto inputs = inputsUnder(NORVA_CONFIG_CORPUS_DIR);
    const auto findings = inputsUnder(NORVA_FUZZ_FINDINGS_DIR "/config");
    inputs.insert(inputs.end(), findings.begin(), findings.end());
    ASSERT_GT(inputs.size(), 300U);
    for (const fs::path& input : inputs) {
        EXPECT_EQ(configTextProblem(readBytes(input)), "") << input.filename();
    }
}

TEST(CorpusReplay, EveryPromptInputPassesTheFuzzTargetsChecks)
{
    auto inputs = inputsUnder(NORVA_PROMPT_CORPUS_DIR);
    const auto findings = inputsUnder(NORVA_FUZZ_FINDINGS_DIR "/prompts");
    inputs.insert(inputs.end(), findings.begin(), findings.end());
    ASSERT_GT(inputs.size(), 5U);
    for (const fs::path& input : inputs) {
        const std::string bytes = readBytes(input);
        EXPECT_EQ(promptInputProblem(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
                  "")
            << input.filename();
    }
}

} // namespace
