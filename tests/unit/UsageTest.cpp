#include "cli/Usage.h"

#include "StdStreams.h"
#include "cli/Options.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

TEST(Usage, ShortOptionStringMatchesTheTable)
{
    std::string expected;
    for (const OptionRow& row : kOptionRows) {
        expected += row.shortName;
        if (row.argument == required_argument) {
            expected += ':';
        }
    }
    EXPECT_EQ(expected, kShortOptions);
}

TEST(Usage, DescriptionDashesStandAtTheThirtySecondCharacter)
{
    for (std::size_t line = 1; line < kOptionLines.size(); ++line) {
        EXPECT_EQ(std::string(kOptionLines.at(line)).find(" - "), 30u) << kOptionLines.at(line);
    }
}

TEST(Usage, OptionsThenAnEmptyLineThenScripts)
{
    const CapturedOutput out;
    printUsage();
    const std::string text = out.text();
    EXPECT_EQ(text.rfind("Usage: norva-snapshots-manager OPTION\n-h, --help", 0), 0u);
    EXPECT_NE(text.find("current script.\n\nAvailable scripts:\n1: one full-sized snapshot;\n"),
              std::string::npos);
    EXPECT_NE(text.find("stopping\n   snapshots management automation;\n4: "), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 19);
}

} // namespace
