// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"

#include <cstdint>
#include <functional>

// The three operations the command line runs on a script: each creates the script's manager,
// makes one call on it and destroys it.

// Busy: `beforeChanges` refused to let the launch go on (another run holds the lock).
enum class LaunchStatus : int32_t { Launched = 0, Failed = 1, Cancelled = 2, Busy = 3 };

// Asks the script's parameters and launches it. `beforeChanges` runs once the answers are in
// and before anything is changed, so that an administrator's slow answers hold no lock.
[[nodiscard]] LaunchStatus launchScript(
    int32_t number, const std::function<bool()>& beforeChanges = [] { return true; });

// One maintenance run of the saved script; false also when no script is saved.
[[nodiscard]] bool checkScript(const ScriptConfig& config);

// The saved script's special function; false also when no script is saved.
[[nodiscard]] bool triggerScript(const ScriptConfig& config);
