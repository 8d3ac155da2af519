// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "text/Translate.h"

#include <string>

// The tool's lines in the system log, under the identity norva-snapshots-manager and the
// facility daemon (journalctl -t norva-snapshots-manager): why a run failed, and every change
// it asks of the snapshot library, with its reason. The command line's texts and exit
// statuses stay as they are; this is where an administrator learns more.
enum class LogLevel : int { Error = 3, Warning = 4, Notice = 5 }; // syslog priorities

// Seam: the tool links syslog(3); unit tests link a log they read, each line with the state of the
// simulated library as it was when the line was written.
void logLine(LogLevel level, const std::string& line);
