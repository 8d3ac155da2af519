// libFuzzer target: any bytes as the configuration file's text.
#include "ConfigHarness.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string problem =
        configTextProblem(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!problem.empty()) {
        std::fprintf(stderr, "configuration text: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
