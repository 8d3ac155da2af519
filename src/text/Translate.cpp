// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/Translate.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

std::string formatMessage(const char* messageId, ...)
{
    const char* format = tr(messageId);
    va_list args;
    va_start(args, messageId);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::vector<char> text(static_cast<size_t>(length < 0 ? 0 : length) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    return text.data();
}
