// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"

#include <array>
#include <cstdint>
#include <memory>

class ScriptManagerBase;

// What the command line, the prompts and the status report know of each numbered script, in one
// table: a seventh script is a manager class and a row. The rules themselves are the classes'.

// The questions a launch can ask; config/Prompts.cpp words them and knows their bounds.
enum class Question { Lifetime, Period, QueueSize };

// A parameter of a script: the question that asks for it, the field that keeps it, and its line
// in the -i report ("<label>N days", "<label>N" or "<label>unknown").
struct ScriptParameter {
    Question question;
    int32_t ScriptConfig::*field;
    const char* label;
    bool inDays;
};

// One script: its number, its manager, its lines in the usage text (message ids; the second may
// be null) and the parameters a launch asks for, in that order (null past the last).
struct Script {
    int32_t number;
    std::unique_ptr<ScriptManagerBase> (*makeManager)(const ScriptConfig& config);
    std::array<const char*, 2> usageLines;
    std::array<const ScriptParameter*, 2> parameters;
};

extern const std::array<Script, 6> kScripts;

// The script of that number; null for 0 and every number that names no script.
[[nodiscard]] const Script* findScript(int32_t number);

[[nodiscard]] inline bool isValidScript(int32_t number)
{
    return findScript(number) != nullptr;
}

// The manager of the script that `config` names, holding a copy of it; null for 0 and every
// number that names no script.
[[nodiscard]] std::unique_ptr<ScriptManagerBase> createManager(const ScriptConfig& config);
