#pragma once

#include "scripts/ScriptConfig.h"

#include <cstdint>

// The three operations the command line runs on a script: each creates the script's manager,
// makes one call on it and destroys it.

enum class LaunchStatus : int32_t { Launched = 0, Failed = 1, Cancelled = 2 };

// Asks the script's parameters and launches it.
[[nodiscard]] LaunchStatus launchScript(int32_t number);

// One maintenance run of the saved script; false also when no script is saved.
[[nodiscard]] bool checkScript(const ScriptConfig& config);

// The saved script's special function; false also when no script is saved.
[[nodiscard]] bool triggerScript(const ScriptConfig& config);
