#include "config/Prompts.h"

#include "StdStreams.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kLifetime = "Enter snapshot lifetime in days (from 1 to 7) or 0 to cancel: ";
constexpr const char* kPeriod =
    "Enter snapshots rotation period in days (from 1 to 7) or 0 to cancel: ";
constexpr const char* kQueue =
    "Enter the number of snapshots in a queue (from 2 to 6) or 0 to cancel: ";
constexpr const char* kWrongLifetime = "Wrong snapshot lifetime has been entered.\n";
constexpr const char* kWrongNumber = "Wrong snapshots number has been entered.\n";

struct Asked {
    ScriptConfig config;
    std::string output;
};

Asked ask(int32_t script, const std::string& input)
{
    const ScriptedInput in(input);
    const CapturedOutput out;
    const ScriptConfig config = askScriptParameters(script);
    return {config, out.text()};
}

TEST(AnswerNumber, FollowsStringToLongRules)
{
    EXPECT_EQ(parseAnswer("5"), 5);
    EXPECT_EQ(parseAnswer("5abc"), 5);
    EXPECT_EQ(parseAnswer("+3"), 3);
    EXPECT_EQ(parseAnswer("-1"), -1);
    EXPECT_EQ(parseAnswer("0x1f"), 0);
    EXPECT_EQ(parseAnswer("2147483647"), 2147483647);
    EXPECT_EQ(parseAnswer("2147483648"), std::nullopt);
    EXPECT_EQ(parseAnswer("-2147483649"), std::nullopt);
    EXPECT_EQ(parseAnswer("99999999999999999999999"), std::nullopt);
    EXPECT_EQ(parseAnswer("abc"), std::nullopt);
    EXPECT_EQ(parseAnswer("-"), std::nullopt);
    EXPECT_EQ(parseAnswer(""), std::nullopt);
    EXPECT_EQ(parseAnswer(" 5"), std::nullopt);
}

TEST(Prompts, ScriptsOneAndThreeAskNothing)
{
    for (const int32_t script : {1, 3}) {
        const Asked asked = ask(script, "4\n");
        EXPECT_EQ(asked.config, (ScriptConfig{script, 0, 0, 0}));
        EXPECT_EQ(asked.output, "");
    }
}

TEST(Prompts, InvalidScriptNumbersAskNothing)
{
    for (const int32_t script : {0, 7, -1}) {
        const Asked asked = ask(script, "4\n");
        EXPECT_EQ(asked.config, ScriptConfig{});
        EXPECT_EQ(asked.output, "");
    }
}

TEST(Prompts, WrongAnswersAreReportedAndTheQuestionAskedAgain)
{
    const Asked asked = ask(2, "8\n-1\nabc\n99999999999\n\n\n  5x\n");
    EXPECT_EQ(asked.config, (ScriptConfig{2, 5, 0, 0}));
    std::string expected = kLifetime;
    for (int wrong = 0; wrong < 4; ++wrong) {
        expected += std::string(kWrongLifetime) + kLifetime;
    }
    EXPECT_EQ(asked.output, expected);
}

TEST(Prompts, QueueTakesTwoAnswersFromOneLine)
{
    const Asked asked = ask(5, "3 4\n");
    EXPECT_EQ(asked.config, (ScriptConfig{5, 3, 4, 0}));
    EXPECT_EQ(asked.output, std::string(kPeriod) + kQueue);
}

TEST(Prompts, QueueSizeOutsideTwoToSixIsAskedAgain)
{
    const Asked asked = ask(5, "2 1 7 6");
    EXPECT_EQ(asked.config, (ScriptConfig{5, 2, 6, 0}));
    EXPECT_EQ(asked.output,
              std::string(kPeriod) + kQueue + kWrongNumber + kQueue + kWrongNumber + kQueue);
}

TEST(Prompts, ZeroCancelsAndDiscardsEarlierAnswers)
{
    EXPECT_EQ(ask(5, "0\n").output, kPeriod);
    EXPECT_EQ(ask(5, "3 0\n").config, ScriptConfig{});
    EXPECT_EQ(ask(6, "0x5\n").config, ScriptConfig{});
    EXPECT_EQ(ask(4, "0\n").config, ScriptConfig{});
}

TEST(Prompts, EndOfInputCancelsInsteadOfAskingForever)
{
    const Asked empty = ask(2, "");
    EXPECT_EQ(empty.config, ScriptConfig{});
    EXPECT_EQ(empty.output, std::string(kLifetime) + "\n");

    const Asked wrongThenEnd = ask(5, "3 9");
    EXPECT_EQ(wrongThenEnd.config, ScriptConfig{});
    EXPECT_EQ(wrongThenEnd.output, std::string(kPeriod) + kQueue + kWrongNumber + kQueue + "\n");
}

TEST(Prompts, DayQuestionsNameWhatTheyAsk)
{
    EXPECT_EQ(ask(6, "7").config, (ScriptConfig{6, 7, 0, 0}));
    EXPECT_EQ(ask(6, "7").output, kPeriod);
    EXPECT_EQ(ask(4, "1").config, (ScriptConfig{4, 1, 0, 0}));
    EXPECT_EQ(ask(6, "8 1").output, std::string(kPeriod) +
                                        "Wrong snapshots rotation period has been entered.\n" +
                                        kPeriod);
}

} // namespace
