#pragma once

#include <string>
#include <string_view>

// What must hold for any configuration text, checked by the fuzz target and replayed by the
// regression tests: reading it throws nothing, and the record it gives survives being saved and
// read back (a size of 2^63 or more, which only a negative number in the file can give, reads
// back as 0, since the saved text is then above the signed range). Empty when all holds, else
// what broke.
[[nodiscard]] std::string configTextProblem(std::string_view text);
