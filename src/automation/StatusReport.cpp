// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/Automation.h"
#include "scripts/ScriptManagerBase.h"
#include "scripts/ScriptTable.h"
#include "text/Translate.h"

#include <iostream>

namespace {

void writeCurrentScript(const ScriptConfig& config)
{
    std::cout << tr("Current script: ");
    const auto manager = createManager(config);
    if (manager == nullptr) {
        std::cout << tr("unknown") << std::endl;
        return;
    }
    std::cout << config.script << std::endl;
    manager->info();
}

} // namespace

int showInfo(const ScriptConfig& config)
{
    const bool running = isAutomationRunning();
    std::cout << tr("Automation status: ") << (running ? tr("running") : tr("stopped"))
              << std::endl;
    writeCurrentScript(config);
    return running ? 0 : 1;
}
