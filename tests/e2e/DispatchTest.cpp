// The command line as a user meets it: one option per run, the usage text, the fixed
// messages on their streams and the exit status, compared byte for byte.
#include "Sandbox.h"
#include "ToolTexts.h"

namespace {

struct DispatchCase {
    std::string name;
    std::vector<std::string> args;
    std::optional<std::string> stdinText;
    std::string out;
    std::string err;
    int status = 0;
};

void PrintTo(const DispatchCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.args);
}

const std::string kDiagnosticX = "norva-snapshots-manager: invalid option -- 'x'\n";
const std::string kDiagnosticS = "norva-snapshots-manager: option requires an argument -- 's'\n";
const std::string kDiagnosticScript =
    "norva-snapshots-manager: option '--script' requires an argument\n";
const std::string kDiagnosticFoo = "norva-snapshots-manager: unrecognized option '--foo'\n";
const std::string kDiagnosticHelpArgument =
    "norva-snapshots-manager: option '--help' doesn't allow an argument\n";
const std::string kNothingChosen = kNotRunning + kUnknownScript;

// Starting state of every row: no configuration, timer stopped and disabled, no snapshots.
const DispatchCase kDispatchCases[] = {
    {"NoArgumentPrintsUsage", {}, {}, kUsage, "", 1},
    {"TwoOptionsPrintUsage", {"-b", "-r"}, {}, kUsage, "", 1},
    {"ScriptAndNumberAsTwoArgumentsPrintUsage", {"-s", "1"}, {}, kUsage, "", 1},
    {"NonOptionDoesNothing", {"foo"}, {}, "", "", 0},
    {"LoneDashIsNotAnOption", {"-"}, {}, "", "", 0},
    {"DoubleDashEndsOptions", {"--"}, {}, "", "", 0},
    {"UnknownOptionGetsDiagnosticAndUsage", {"-x"}, {}, kUsage, kDiagnosticX, 1},
    {"UnknownLongOptionGetsDiagnosticAndUsage", {"--foo"}, {}, kUsage, kDiagnosticFoo, 1},
    {"ArgumentToHelpGetsDiagnosticAndUsage", {"--help=x"}, {}, kUsage, kDiagnosticHelpArgument, 1},
    {"ScriptWithoutNumberGetsDiagnosticAndUsage", {"-s"}, {}, kUsage, kDiagnosticS, 1},
    {"LongScriptWithoutNumberGetsDiagnosticAndUsage",
     {"--script"},
     {},
     kUsage,
     kDiagnosticScript,
     1},
    {"ScriptSevenIsALaunchError", {"-s7"}, {}, kUsage, kLaunchError, 1},
    {"ScriptZeroIsALaunchError", {"-s0"}, {}, kUsage, kLaunchError, 1},
    {"NegativeScriptIsALaunchError", {"-s-1"}, {}, kUsage, kLaunchError, 1},
    {"EmptyScriptNumberIsRefused", {"--script="}, {}, "", kScriptUsage, 1},
    {"LettersAsScriptNumberAreRefused", {"-sabc"}, {}, "", kScriptUsage, 1},
    {"HugeScriptNumberIsRefused", {"-s99999999999"}, {}, "", kScriptUsage, 1},
    {"ScriptNumberJustAboveInt32IsRefused", {"-s2147483648"}, {}, "", kScriptUsage, 1},
    {"ScriptNumberWrappingToTwoIsRefused", {"-s4294967298"}, {}, "", kScriptUsage, 1},
    {"ScriptDigitsThenLettersCountAsTheDigits", {"-s2x"}, "0\n", kAskLifetime + kCancelled, "", 0},
    {"ScriptNumberWithLeadingBlankIsAccepted", {"-s 2"}, "0\n", kAskLifetime + kCancelled, "", 0},
    {"ScriptNumberWithPlusSignIsAccepted", {"-s+2"}, "0\n", kAskLifetime + kCancelled, "", 0},
    {"LongScriptOptionAsksLikeShort", {"--script=6"}, "0\n", kAskPeriod + kCancelled, "", 0},
    {"HelpPrintsUsage", {"-h"}, {}, kUsage, "", 0},
    {"LongHelpPrintsUsage", {"--help"}, {}, kUsage, "", 0},
    {"AbbreviatedLongHelpPrintsUsage", {"--he"}, {}, kUsage, "", 0},
    {"BreakReportsStopped", {"-b"}, {}, kStopped, "", 0},
    {"LongBreakReportsStopped", {"--break"}, {}, kStopped, "", 0},
    {"OnlyFirstOfGroupedOptionsCounts", {"-bi"}, {}, kStopped, "", 0},
    {"RestartReportsStarted", {"-r"}, {}, kStarted, "", 0},
    {"LongRestartReportsStarted", {"--restart"}, {}, kStarted, "", 0},
    {"PurgeReportsDeleted", {"-p"}, {}, kPurged, "", 0},
    {"LongPurgeReportsDeleted", {"--purge"}, {}, kPurged, "", 0},
    {"CheckWithoutConfigurationFailsSilently", {"-c"}, {}, "", "", 1},
    {"LongCheckWithoutConfigurationFailsSilently", {"--check"}, {}, "", "", 1},
    {"TriggerWithoutConfigurationFailsSilently", {"-t"}, {}, "", "", 1},
    {"LongTriggerWithoutConfigurationFailsSilently", {"--trigger"}, {}, "", "", 1},
    {"InfoWithoutConfigurationReportsUnknownScript", {"-i"}, {}, kNothingChosen, "", 1},
    {"LongInfoWithoutConfigurationReportsUnknownScript", {"--info"}, {}, kNothingChosen, "", 1},
};

class Dispatch : public Sandbox, public testing::WithParamInterface<DispatchCase> {};

TEST_P(Dispatch, WritesExactTextsAndStatus)
{
    const DispatchCase& c = GetParam();
    expectRun(run(c.args, c.stdinText), c.out, c.err, c.status);
}

INSTANTIATE_TEST_SUITE_P(EveryRow, Dispatch, testing::ValuesIn(kDispatchCases), CaseName());

// With both streams in one file, every message must already be out when the next is written.
struct OrderCase {
    std::string name;
    std::vector<std::string> args;
    std::optional<std::string> stdinText;
    std::string merged;
    int status = 0;
};

void PrintTo(const OrderCase& c, std::ostream* os)
{
    *os << testing::PrintToString(c.args);
}

const OrderCase kOrderCases[] = {
    {"DiagnosticBeforeUsage", {"-x"}, {}, kDiagnosticX + kUsage, 1},
    {"LaunchErrorBeforeUsage", {"-s0"}, {}, kLaunchError + kUsage, 1},
    {"QuestionsAndErrorsInTurn",
     {"-s5"},
     "9\n2\n1\n0\n",
     kAskPeriod + kWrongPeriod + kAskPeriod + kAskQueue + kWrongQueue + kAskQueue + kCancelled,
     0},
};

class StreamOrder : public Sandbox, public testing::WithParamInterface<OrderCase> {};

TEST_P(StreamOrder, FlushesEachMessageInTurn)
{
    const OrderCase& c = GetParam();
    RunOptions options;
    options.mergeStreams = true;
    expectRun(run(c.args, c.stdinText, options), c.merged, "", c.status);
}

INSTANTIATE_TEST_SUITE_P(Rows, StreamOrder, testing::ValuesIn(kOrderCases), CaseName());

using RootCheck = Sandbox;

TEST_F(RootCheck, OtherUserIsRefusedBeforeAnyWork)
{
    systemctl().setTimer(true, true);
    expectRun(runAsNobody({"-b"}), "", kNotRoot, 1);
    EXPECT_TRUE(systemctl().calls().empty());
    EXPECT_TRUE(systemctl().timerActive());
}

} // namespace
