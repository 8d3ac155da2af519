// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ParameterLines.h"

#include "text/Translate.h"

#include <iostream>

void writeDaysLine(const char* label, int32_t days)
{
    std::cout << tr(label);
    if (days != 0) {
        std::cout << days << tr(" days");
    } else {
        std::cout << tr("unknown");
    }
    std::cout << std::endl;
}

void writeCountLine(const char* label, int32_t count)
{
    std::cout << tr(label);
    if (count != 0) {
        std::cout << count;
    } else {
        std::cout << tr("unknown");
    }
    std::cout << std::endl;
}
