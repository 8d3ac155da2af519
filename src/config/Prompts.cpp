// SPDX-License-Identifier: GPL-2.0-or-later
#include "config/Prompts.h"

#include "scripts/ScriptTable.h"
#include "text/Translate.h"

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string>

namespace {

// A question's words and the answers it accepts besides 0.
struct Wording {
    const char* text;
    const char* wrongAnswer;
    int32_t lowest;
    int32_t highest;
};

constexpr Wording kLifetimeQuestion{trNoop("Enter snapshot lifetime in days"),
                                    trNoop("Wrong snapshot lifetime has been entered."), 1, 7};
constexpr Wording kPeriodQuestion{trNoop("Enter snapshots rotation period in days"),
                                  trNoop("Wrong snapshots rotation period has been entered."), 1,
                                  7};
constexpr Wording kQueueQuestion{trNoop("Enter the number of snapshots in a queue"),
                                 trNoop("Wrong snapshots number has been entered."), 2, 6};

void writeQuestion(const Wording& question)
{
    std::cout << tr(question.text) << " (" << tr("from ") << question.lowest << tr(" to ")
              << question.highest << ") " << tr("or 0 to cancel: ") << std::flush;
}

bool isAccepted(const Wording& question, int32_t answer)
{
    return answer == 0 || (answer >= question.lowest && answer <= question.highest);
}

// Asks until an accepted answer comes. An input that has ended or failed can give no answer
// at all, so it cancels instead of asking forever.
int32_t ask(const Wording& question)
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

int32_t askFor(Question question)
{
    switch (question) {
    case Question::Lifetime:
        return askDays(false);
    case Question::Period:
        return askDays(true);
    case Question::QueueSize:
        return askQueueSize();
    }
    return 0;
}

ScriptConfig askScriptParameters(int32_t number)
{
    const Script* script = findScript(number);
    if (script == nullptr) {
        return {};
    }
    ScriptConfig config;
    for (const ScriptParameter* parameter : script->parameters) {
        if (parameter == nullptr) {
            break;
        }
        // 0 cancels: whatever was answered before is forgotten, and nothing more is asked.
        const int32_t answer = askFor(parameter->question);
        if (answer == 0) {
            return {};
        }
        config.*(parameter->field) = answer;
    }
    config.script = number;
    return config;
}
