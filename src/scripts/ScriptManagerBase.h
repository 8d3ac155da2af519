// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"
#include "scripts/SnapshotChanges.h"

// One automation script. A manager lives for one operation of the command line: created from a
// configuration, asked once, destroyed. No operation throws or writes a message; failures are
// false results.
class ScriptManagerBase {
public:
    explicit ScriptManagerBase(const ScriptConfig& config) : config_(config) {}
    virtual ~ScriptManagerBase() = default;

    ScriptManagerBase(const ScriptManagerBase&) = delete;
    ScriptManagerBase& operator=(const ScriptManagerBase&) = delete;

    // Purges, saves the configuration, starts the timer and creates the first snapshot.
    // True when all of it succeeded.
    [[nodiscard]] virtual bool launch() = 0;

    // Brings the snapshots in line with the script's rules. True when every step succeeded.
    [[nodiscard]] virtual bool check() = 0;

    // The script's special function; scripts without one succeed and change nothing.
    [[nodiscard]] virtual bool trigger() { return true; }

    // Writes the script's parameter lines on standard output; nothing by default.
    virtual void info() {}

    [[nodiscard]] const ScriptConfig& config() const { return config_; }

protected:
    ScriptConfig& mutableConfig() { return config_; }
    // This script asking for a change, for the reason given.
    [[nodiscard]] Cause because(Why why) const { return {config_.script, why}; }

private:
    ScriptConfig config_;
};
