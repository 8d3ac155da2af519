// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ParameterLines.h"

#include "scripts/ScriptTable.h"
#include "text/Translate.h"

#include <iostream>

void writeParameterLines(const ScriptConfig& config)
{
    const Script* script = findScript(config.script);
    for (const ScriptParameter* parameter :
         script == nullptr ? Script{}.parameters : script->parameters) {
        if (parameter == nullptr) {
            break;
        }
        const int32_t value = config.*(parameter->field);
        std::cout << tr(parameter->label);
        if (value == 0) {
            std::cout << tr("unknown");
        } else {
            std::cout << value << (parameter->inDays ? tr(" days") : "");
        }
        std::cout << std::endl;
    }
}
