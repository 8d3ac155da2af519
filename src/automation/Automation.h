// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ScriptConfig.h"
#include "scripts/SnapshotChanges.h"

#include <cstdint>

class ScriptManagerBase;

// Timer control, purge and status report. None of them prints a message of its own; the
// command line turns their results into messages and exit statuses.

// Stops a running timer and disables an enabled one. True when neither step failed; a timer
// that is neither running nor enabled is left alone and gives true.
[[nodiscard]] bool stopAutomation();

// Stops, then enables and starts the timer. True when enabling and starting succeeded.
[[nodiscard]] bool restartAutomation();

// Saves the manager's configuration, then enables and starts the timer. False at the first
// failed step; a failed save leaves the timer untouched.
[[nodiscard]] bool startAutomation(const ScriptManagerBase& manager);

// Removes every snapshot of the root volume, trying each one even after a failure.
// True when every removal succeeded (also when there was none) and the library, able to read
// the volumes and with no merge pending, lists none afterwards.
[[nodiscard]] bool removeAllSnapshots(const Cause& cause);

// Whether the automation runs: the timer is both active and enabled.
[[nodiscard]] bool isAutomationRunning();
// Whether it stands stopped, as a stop (-b, a trigger) leaves it: neither active nor enabled.
[[nodiscard]] bool isAutomationStopped();

// Writes the automation status and the current script on standard output.
// 0 when the timer is active and enabled, 1 otherwise.
[[nodiscard]] int showInfo(const ScriptConfig& config);
