// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"

// The parameter lines of `-i` for the script of `config`, one for each parameter its launch asks
// for (ScriptTable.h): a translated label, then the value ("N days" or "N"), or "unknown" for 0.
void writeParameterLines(const ScriptConfig& config);
