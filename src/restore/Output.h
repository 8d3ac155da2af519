// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>

// What norva-snapshots-restore says: results on standard output, refusals and warnings on
// standard error, each also in the system log under its own identity (journalctl -t
// norva-snapshots-restore), where every change it makes is recorded too.

// A result line on standard output.
void tell(const std::string& line);

// Why the command does nothing: one line on standard error and in the log. Gives the exit
// status 1, so that a refusal reads `return refuse(...)`.
[[nodiscard]] int refuse(const std::string& why);

// Something the administrator must know before going on: standard error and the log.
void warn(const std::string& line);

// A change made to the system: the log only (the command says it in its own words).
void record(const std::string& line);
