#include "scripts/ManagerFactory.h"

// The script classes come next; until then no script has a manager.
std::unique_ptr<ScriptManagerBase> createManager(const ScriptConfig& config)
{
    switch (config.script) {
    default:
        return nullptr;
    }
}
