// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "SimState.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

// The environment variable that names the state file of the simulated library.
inline constexpr const char* kStateVariable = "NORVASNAPSHOTS_SIM_STATE";

// The state file named by the environment; nullopt when the variable is unset or empty.
[[nodiscard]] std::optional<std::string> stateFileFromEnvironment();

// The state file, read, changed and written back under an exclusive lock on a lock file
// beside it. The new text replaces the old one by rename, so that several processes using
// the library at once never lose an update or see a torn file.
class StateFile {
public:
    explicit StateFile(std::string path) : path_(std::move(path)) {}

    // Runs change on the current state and stores the result when it differs. False when the
    // state is unavailable (missing, unreadable, invalid) or could not be stored; an
    // unavailable state is left exactly as it was.
    [[nodiscard]] bool update(const std::function<void(SimState&)>& change) const;

    // The current state; nullopt when unavailable.
    [[nodiscard]] std::optional<SimState> read() const;

    // Stores state whatever the file held before, creating it when missing.
    [[nodiscard]] bool replace(const SimState& state) const;

    [[nodiscard]] const std::string& path() const { return path_; }

private:
    [[nodiscard]] bool write(const SimState& state) const;

    std::string path_;
};
