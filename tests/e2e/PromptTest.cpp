// The parameter questions of -s: what is written for each kind of answer, and that a
// cancelled launch (0, or no answer at all) touches nothing: no configuration, no systemctl
// call, no snapshot.
#include "Sandbox.h"
#include "ToolTexts.h"

namespace {

struct PromptCase {
    std::string name;
    std::string option;
    std::string answers;
    std::string out;
};

void PrintTo(const PromptCase& c, std::ostream* os)
{
    *os << c.option << " <<< " << testing::PrintToString(c.answers);
}

const std::string kLifetimeAgain = kWrongLifetime + kAskLifetime;
const std::string kPeriodAgain = kWrongPeriod + kAskPeriod;
const std::string kQueueAgain = kWrongQueue + kAskQueue;

const PromptCase kCancelledCases[] = {
    {"ZeroCancelsLifetime", "-s2", "0\n", kAskLifetime + kCancelled},
    {"ZeroCancelsLifetimeOfScriptFour", "-s4", "0\n", kAskLifetime + kCancelled},
    {"ZeroCancelsPeriodOfScriptSix", "-s6", "0\n", kAskPeriod + kCancelled},
    {"LettersAskAgain", "-s2", "abc\n0\n", kAskLifetime + kLifetimeAgain + kCancelled},
    {"HugeNumberAsksAgain", "-s2", "99999999999\n0\n", kAskLifetime + kLifetimeAgain + kCancelled},
    {"NumberWrappingToZeroAsksAgain", "-s2", "4294967296\n0\n",
     kAskLifetime + kLifetimeAgain + kCancelled},
    {"MegabyteOfDigitsAsksAgain", "-s2", std::string(1024 * 1024, '1') + "\n0\n",
     kAskLifetime + kLifetimeAgain + kCancelled},
    {"NulByteAsksAgain", "-s2", std::string("\0\n0\n", 4),
     kAskLifetime + kLifetimeAgain + kCancelled},
    {"EightAsksAgain", "-s2", "8\n0\n", kAskLifetime + kLifetimeAgain + kCancelled},
    {"MinusOneAsksAgain", "-s2", "-1\n0\n", kAskLifetime + kLifetimeAgain + kCancelled},
    {"LoneSignAsksAgain", "-s2", "+\n0\n", kAskLifetime + kLifetimeAgain + kCancelled},
    {"PlusZeroCancels", "-s2", "+0\n", kAskLifetime + kCancelled},
    {"HexadecimalCountsAsZero", "-s2", "0x5\n", kAskLifetime + kCancelled},
    {"EmptyLinesKeepWaitingWithoutRepeating", "-s2", "\n\n   \n\t\n0\n", kAskLifetime + kCancelled},
    {"EveryWrongAnswerGetsItsOwnMessage", "-s2", "9 x -3\n0\n",
     kAskLifetime + kLifetimeAgain + kLifetimeAgain + kLifetimeAgain + kCancelled},
    {"WrongPeriodAsksAgain", "-s6", "8\n0\n", kAskPeriod + kPeriodAgain + kCancelled},
    {"ZeroPeriodSkipsQueueQuestion", "-s5", "0\n", kAskPeriod + kCancelled},
    {"WrongPeriodOfQueueAsksAgain", "-s5", "-1\n0\n", kAskPeriod + kPeriodAgain + kCancelled},
    {"QueueOfOneOrSevenAsksAgain", "-s5", "3\n1\n7\n0\n",
     kAskPeriod + kAskQueue + kQueueAgain + kQueueAgain + kCancelled},
    {"QueueLettersAskAgain", "-s5", "2\nmany\n0\n",
     kAskPeriod + kAskQueue + kQueueAgain + kCancelled},
    {"TwoAnswersOnOneLineAnswerBothQuestions", "-s5", "3 0\n", kAskPeriod + kAskQueue + kCancelled},
};

class CancelledPrompt : public Sandbox, public testing::WithParamInterface<PromptCase> {};

TEST_P(CancelledPrompt, WritesExactQuestionsAndTouchesNothing)
{
    const PromptCase& c = GetParam();
    const std::string simBefore = simState();

    expectRun(run({c.option}, c.answers), c.out, "", 0);

    EXPECT_EQ(config(), std::nullopt);
    EXPECT_TRUE(systemctl().calls().empty());
    EXPECT_EQ(simState(), simBefore);
}

INSTANTIATE_TEST_SUITE_P(Answers, CancelledPrompt, testing::ValuesIn(kCancelledCases), CaseName());

// At the end of input no answer can come; the launch counts as cancelled. Whether a line
// break follows the unanswered question is the tool's affair, so only the first question and
// the message at the end are compared; the output must stay short (no endless re-asking).
struct EndOfInputCase {
    std::string name;
    std::string option;
    std::optional<std::string> answers; // nullopt: standard input is /dev/null
    std::string firstQuestion;
};

void PrintTo(const EndOfInputCase& c, std::ostream* os)
{
    *os << c.option << " <<< " << testing::PrintToString(c.answers);
}

const EndOfInputCase kEndOfInputCases[] = {
    {"NoInputForLifetime", "-s2", {}, kAskLifetime},
    {"NoInputForPeriod", "-s5", {}, kAskPeriod},
    {"InputEndsBeforeQueueQuestion", "-s5", "3\n", kAskPeriod + kAskQueue},
    {"InputEndsAfterWrongAnswer", "-s2", "abc\n", kAskLifetime + kLifetimeAgain},
    {"InputEndsAfterEmptyLines", "-s6", "\n\n", kAskPeriod},
};

class EndOfInput : public Sandbox, public testing::WithParamInterface<EndOfInputCase> {};

TEST_P(EndOfInput, CancelsAndTouchesNothing)
{
    const EndOfInputCase& c = GetParam();
    const std::string simBefore = simState();

    const ToolResult result = run({c.option}, c.answers);

    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out.substr(0, c.firstQuestion.size()), c.firstQuestion);
    const std::string tail = "\n" + kCancelled;
    EXPECT_TRUE(result.out.ends_with(tail) || result.out == c.firstQuestion + kCancelled)
        << testing::PrintToString(result.out);
    EXPECT_LT(result.out.size(), 1024U) << "questions asked again and again at the end of input";
    EXPECT_EQ(config(), std::nullopt);
    EXPECT_TRUE(systemctl().calls().empty());
    EXPECT_EQ(simState(), simBefore);
}

INSTANTIATE_TEST_SUITE_P(Answers, EndOfInput, testing::ValuesIn(kEndOfInputCases), CaseName());

} // namespace
