// What -i, -c and -t make of the configuration file as they find it: damaged or foreign
// files read as "no script chosen" without a word, a crash or a hang; well-formed ones read
// as written, whatever their layout.
#include "Sandbox.h"
#include "ToolTexts.h"

#include <filesystem>

namespace {

struct LoadCase {
    std::string name;
    std::string bytes;
    std::string infoAfterStatus; // what -i writes after the status line
};

void PrintTo(const LoadCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.bytes.substr(0, 80));
}

std::string binaryGarbage()
{
    std::string bytes;
    for (int i = 0; i < 4096; ++i) {
        bytes.push_back(static_cast<char>((i * 167 + 13) % 256));
    }
    return bytes;
}

std::string nested(int depth)
{
    return R"({"script":3,"deep":)" + std::string(static_cast<size_t>(depth), '[') +
           std::string(static_cast<size_t>(depth), ']') + "}";
}

const std::string kMegabyte(1024 * 1024, 'a');

const LoadCase kUnreadableCases[] = {
    {"Empty", "", kUnknownScript},
    {"OnlyWhiteSpace", " \n\t\r\n", kUnknownScript},
    {"CutShort", R"({"script":3,"lifetime":)", kUnknownScript},
    {"BinaryGarbage", binaryGarbage(), kUnknownScript},
    {"NotJson", "script=3\n", kUnknownScript},
    {"MegabyteOfGarbage", kMegabyte, kUnknownScript},
    {"NestedTenThousandDeep", nested(10000), kUnknownScript},
    {"InvalidUtf8", "{\"script\":3,\"note\":\"\xff\xfe\xc3\"}", kUnknownScript},
    {"ByteOrderMark", "\xef\xbb\xbf{\"script\":3}", kUnknownScript},
    {"TrailingComma", R"({"script":3,})", kUnknownScript},
    {"CommentAfterObject", "{\"script\":3} // chosen by hand\n", kUnknownScript},
    {"SecondValueAfterObject", R"({"script":3}{"script":3})", kUnknownScript},
    {"RootArray", R"([{"script":3}])", kUnknownScript},
    {"RootNumber", "3\n", kUnknownScript},
    {"ScriptAsString", R"({"script":"3"})", kUnknownScript},
    {"ScriptWithFraction", R"({"script":3.0})", kUnknownScript},
    {"ScriptWithExponent", R"({"script":3e0})", kUnknownScript},
    {"ScriptAsBoolean", R"({"script":true})", kUnknownScript},
    {"ScriptNull", R"({"script":null})", kUnknownScript},
    {"ScriptAboveInt64WhoseLowBitsAreThree", R"({"script":9223372036854775811})", kUnknownScript},
    {"ScriptZero", R"({"script":0,"lifetime":3})", kUnknownScript},
    {"ScriptSeven", R"({"script":7,"lifetime":3})", kUnknownScript},
    {"NoScriptKey", R"({"lifetime":3,"quantity":4})", kUnknownScript},
};

const LoadCase kReadableCases[] = {
    {"SavedForm", "{\"script\":2,\"lifetime\":7,\"quantity\":0,\"size\":0}\n",
     "Current script: 2\nSnapshot lifetime: 7 days\n"},
    {"ScriptOnly", R"({"script":3})", "Current script: 3\n"},
    {"ScriptKeepsLow32Bits", R"({"script":4294967297})", "Current script: 1\n"},
    {"LifetimeBeyondPromptBounds", R"({"script":2,"lifetime":30})",
     "Current script: 2\nSnapshot lifetime: 30 days\n"},
    {"NegativeLifetime", R"({"script":4,"lifetime":-2,"quantity":0,"size":0})",
     "Current script: 4\nSnapshot lifetime: -2 days\n"},
    {"LifetimeWithFractionReadsAsZero", R"({"script":2,"lifetime":3.0})",
     "Current script: 2\nSnapshot lifetime: unknown\n"},
    {"QueueSpreadOverLinesInOtherOrder",
     "{\n  \"size\": 123,\n  \"other\": [1, 2, {\"x\": null}],\n  \"quantity\": 4,\n"
     "\t\"lifetime\": 3,\n  \"script\": 5\n}\n",
     "Current script: 5\nSnapshots rotation period: 3 days\nNumber of snapshots in a queue: 4\n"},
    {"QueueWithoutParameters", R"({"script":5})",
     "Current script: 5\nSnapshots rotation period: unknown\nNumber of snapshots in a queue: "
     "unknown\n"},
    {"DoubleScript", R"({"script":6,"lifetime":2,"quantity":9})",
     "Current script: 6\nSnapshots rotation period: 2 days\n"},
    {"MegabyteLongValidFile", R"({"script":3,"pad":")" + kMegabyte + "\"}", "Current script: 3\n"},
};

class UnreadableConfiguration : public Sandbox, public testing::WithParamInterface<LoadCase> {};
class ReadableConfiguration : public Sandbox, public testing::WithParamInterface<LoadCase> {};

TEST_P(UnreadableConfiguration, MeansNoScriptForInfoCheckAndTrigger)
{
    writeConfig(GetParam().bytes);
    // An undated snapshot: any check that ran would replace it.
    sim({"add", "--time", "0", "--size", "1G"});
    const std::string simBefore = simState();

    expectRun(run({"-i"}), kNotRunning + GetParam().infoAfterStatus, "", 1);
    expectRun(run({"-c"}), "", "", 1);
    expectRun(run({"-t"}), "", "", 1);

    EXPECT_EQ(simState(), simBefore);
    EXPECT_EQ(config(), GetParam().bytes) << "reading must not change the file";
}

TEST_P(ReadableConfiguration, ShowsTheValuesAsWritten)
{
    writeConfig(GetParam().bytes);
    systemctl().setTimer(true, true);

    expectRun(run({"-i"}), kRunning + GetParam().infoAfterStatus, "", 0);
}

INSTANTIATE_TEST_SUITE_P(Files, UnreadableConfiguration, testing::ValuesIn(kUnreadableCases),
                         CaseName());
INSTANTIATE_TEST_SUITE_P(Files, ReadableConfiguration, testing::ValuesIn(kReadableCases),
                         CaseName());

using ConfigurationPath = Sandbox;

TEST_F(ConfigurationPath, DirectoryMeansNoScript)
{
    std::filesystem::create_directory(kConfigPath);

    expectRun(run({"-i"}), kNotRunning + kUnknownScript, "", 1);
    expectRun(run({"-c"}), "", "", 1);
    expectRun(run({"-t"}), "", "", 1);
}

// The queue's snapshot size is seen only through what a check creates: an empty queue gets
// one snapshot of the configured size, where 0 asks the library for a full-sized one.
struct SizeCase {
    std::string name;
    std::string sizeText;
    int status = 0;
    std::optional<uint64_t> createdSize;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.sizeText;
}

const SizeCase kSizeCases[] = {
    {"PlainSizeIsUsed", "1073741824", 0, kGiB},
    {"SizeAboveInt64ReadsAsZero", "9223372036854775808", 0, kRootSize},
    {"SizeWithFractionReadsAsZero", "1073741824.0", 0, kRootSize},
    {"NegativeSizeWrapsToHugeAndCannotBeCreated", "-1", 1, std::nullopt},
};

class QueueSizeOnLoad : public Sandbox, public testing::WithParamInterface<SizeCase> {};

TEST_P(QueueSizeOnLoad, DecidesSizeOfCreatedSnapshot)
{
    writeConfig(R"({"script":5,"lifetime":1,"quantity":2,"size":)" + GetParam().sizeText + "}");

    expectRun(run({"-c"}), "", "", GetParam().status);

    const SimView view = simView();
    if (GetParam().createdSize) {
        ASSERT_EQ(view.snapshots.size(), 1U);
        EXPECT_EQ(view.snapshots[0].size, *GetParam().createdSize);
    } else {
        EXPECT_TRUE(view.snapshots.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Files, QueueSizeOnLoad, testing::ValuesIn(kSizeCases), CaseName());

} // namespace
