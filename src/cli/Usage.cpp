// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/Usage.h"

#include "scripts/ScriptTable.h"
#include "text/Translate.h"

#include <iostream>

void printUsage()
{
    for (const char* line : kOptionLines) {
        std::cout << tr(line) << std::endl;
    }
    std::cout << std::endl;
    std::cout << tr("Available scripts:") << std::endl;
    for (const Script& script : kScripts) {
        for (const char* line : script.usageLines) {
            if (line != nullptr) {
                std::cout << tr(line) << std::endl;
            }
        }
    }
}
