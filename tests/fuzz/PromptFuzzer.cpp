// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: the first byte less '0' as a script number, the rest as its questions' input.
#include "HeldNumbers.h"
#include "config/Prompts.h"

#include <iostream>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::istringstream answers(std::string(input.substr(std::min<size_t>(size, 1))));
    std::cin.rdbuf(answers.rdbuf()); // which also clears the end of the previous run's input
    std::cout.rdbuf(nullptr);        // the questions' wording is for the unit tests
    const ScriptConfig read = askScriptParameters(size > 0 ? data[0] - '0' : 0);
    // Only the digits 1 to 6 name a script, so the first byte as text holds the script number.
    requireHeld(input.substr(0, 1), read.script);
    requireHeld(answers.str(), read.lifetime, read.quantity, read.snapshotSize);
    return 0;
}
