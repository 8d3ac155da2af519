// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "SimState.h"
#include "StateFile.h"

#include <functional>
#include <string>
#include <vector>

// The commands of norva-sim. Each takes the words after its name and answers an exit status
// (SimArguments.h); messages go to standard error, requested output to standard output.
using CommandWords = std::vector<std::string>;

[[nodiscard]] int runInit(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runSpace(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runAdd(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runSet(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runRemove(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runFail(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runUnfail(const CommandWords& words, const StateFile& file);
[[nodiscard]] int runShow(const CommandWords& words, const StateFile& file);

// Runs change on a copy of the state and keeps the copy only when change answers success, so
// that a refused command leaves the state untouched.
[[nodiscard]] int changeState(const StateFile& file, const std::function<int(SimState&)>& change);

// Complains on standard error, with the program's name in front; answers kExitFailure.
int complain(const std::string& message);
