// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/Usage.h"

#include "text/Translate.h"

#include <iostream>

void printUsage()
{
    for (const char* line : kOptionLines) {
        std::cout << tr(line) << std::endl;
    }
    std::cout << std::endl;
    for (const char* line : kScriptLines) {
        std::cout << tr(line) << std::endl;
    }
}
