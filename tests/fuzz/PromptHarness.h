#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What must hold for any standard input given to the launch questions, checked by the fuzz
// target and replayed by the regression tests. The first byte, less '0', is the script number;
// the rest is standard input. The questions must end (at the latest when the input does), give
// a record within the questions' bounds or the cancelled one, ask no more often than there are
// words to answer with, and read every word as a sign and digits would be read.
// Empty when all holds, else what broke.
[[nodiscard]] std::string promptInputProblem(const uint8_t* data, size_t size);
