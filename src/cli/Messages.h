// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The command line's result messages: one translated line each, flushed at once.

#include "text/Translate.h"

// Another run held the run lock for longer than a run may wait.
inline constexpr const char* kBusyMessage =
    trNoop("Another norva-snapshots-manager run is still in progress; nothing was changed.");

// Success, on standard output.
void say(const char* messageId);

// Failure, on standard error.
void complain(const char* messageId);
