// SPDX-License-Identifier: GPL-2.0-or-later
#include "config/Prompts.h"

#include "text/Translate.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string>

namespace {

struct Question {
    const char* text;
    const char* wrongAnswer;
    int32_t lowest;
    int32_t highest;
};

constexpr Question kLifetimeQuestion{trNoop("Enter snapshot lifetime in days"),
                                     trNoop("Wrong snapshot lifetime has been entered."), 1, 7};
constexpr Question kPeriodQuestion{trNoop("Enter snapshots rotation period in days"),
                                   trNoop("Wrong snapshots rotation period has been entered."), 1,
                                   7};
constexpr Question kQueueQuestion{trNoop("Enter the number of snapshots in a queue"),
                                  trNoop("Wrong snapshots number has been entered."), 2, 6};

void writeQuestion(const Question& question)
{
    std::cout << tr(question.text) << " (" << tr("from ") << question.lowest << tr(" to ")
              << question.highest << ") " << tr("or 0 to cancel: ") << std::flush;
}

bool isAccepted(const Question& question, int32_t answer)
{
    return answer == 0 || (answer >= question.lowest && answer <= question.highest);
}

// Asks until an accepted answer comes. An input that has ended or failed can give no answer
// at all, so it cancels instead of asking forever.
int32_t ask(const Question& question)
{
    while (true) {
        writeQuestion(question);
        std::string word;
        if (!(std::cin >> word)) {
            std::cout << std::endl;
            return 0;
        }
        const auto answer = parseAnswer(word);
        if (answer && isAccepted(question, *answer)) {
            return *answer;
        }
        std::cout << tr(question.wrongAnswer) << std::endl;
    }
}

bool isDayCount(int32_t days)
{
    return days >= 1 && days <= 7;
}

} // namespace

std::optional<int32_t> parseAnswer(std::string_view word)
{
    const std::string text(word);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    const bool startsWithDigits = end != text.c_str() && text.find_first_of(" \t\n\v\f\r") != 0;
    if (!startsWithDigits || errno == ERANGE || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t askDays(bool rotationPeriod)
{
    return ask(rotationPeriod ? kPeriodQuestion : kLifetimeQuestion);
}

int32_t askQueueSize()
{
    return ask(kQueueQuestion);
}

ScriptConfig askScriptParameters(int32_t number)
{
    ScriptConfig config;
    switch (number) {
    case 1:
    case 3:
        config.reset(number);
        break;
    case 2:
    case 4:
    case 6:
        if (const int32_t days = askDays(number == 6); isDayCount(days)) {
            config.reset(number);
            config.lifetime = days;
        }
        break;
    case 5:
        if (const int32_t period = askDays(true); isDayCount(period)) {
            if (const int32_t quantity = askQueueSize(); quantity >= 2 && quantity <= 6) {
                config.reset(number);
                config.lifetime = period;
                config.quantity = quantity;
            }
        }
        break;
    default:
        break;
    }
    return config;
}
