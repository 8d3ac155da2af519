// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ManagerFactory.h"

#include "scripts/ManagerDouble.h"
#include "scripts/ManagerQueue.h"
#include "scripts/ManagerRotated.h"
#include "scripts/ManagerRotatedHook.h"
#include "scripts/ManagerSingle.h"
#include "scripts/ManagerSingleHook.h"

std::unique_ptr<ScriptManagerBase> createManager(const ScriptConfig& config)
{
    switch (config.script) {
    case 1:
        return std::make_unique<ManagerSingle>(config);
    case 2:
        return std::make_unique<ManagerRotated>(config);
    case 3:
        return std::make_unique<ManagerSingleHook>(config);
    case 4:
        return std::make_unique<ManagerRotatedHook>(config);
    case 5:
        return std::make_unique<ManagerQueue>(config);
    case 6:
        return std::make_unique<ManagerDouble>(config);
    default:
        return nullptr;
    }
}
