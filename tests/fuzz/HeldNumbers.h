// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
#include <charconv>
#include <string_view>

// Traps, for libFuzzer to keep the input, unless each field is 0 or a number `text` writes out.
template <typename... Field> void requireHeld(std::string_view text, Field... fields)
{
    const auto holds = [text](auto field) {
        for (const char* at = text.data(); field != 0 && at < text.data() + text.size();) {
            int64_t number = 0;
            const auto [end, error] = std::from_chars(at, text.data() + text.size(), number);
            if (error == std::errc{} && static_cast<decltype(field)>(number) == field) {
                return true;
            }
            at = end == at ? at + 1 : end; // never from within a number
        }
        return field == 0;
    };
    if (!(holds(fields) && ...)) {
        __builtin_trap();
    }
}
