// libFuzzer target: a script number and any bytes as standard input to the launch questions.
#include "PromptHarness.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string problem = promptInputProblem(data, size);
    if (!problem.empty()) {
        std::fprintf(stderr, "launch questions: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
