// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"
#include "scripts/ScriptManagerBase.h"

#include <memory>

// The manager of the script that `config` names, holding a copy of it; null for 0 and every
// number that names no script.
[[nodiscard]] std::unique_ptr<ScriptManagerBase> createManager(const ScriptConfig& config);
