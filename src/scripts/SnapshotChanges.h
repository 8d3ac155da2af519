// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "snapshots/SnapshotListGuard.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Every change the tool asks of the snapshot library, written to the system log first with the
// script that asks and why (the library then logs what it did), and its failure after. Then
// `journalctl -t norva-snapshots-manager -t libnorvasnapshots` tells where each snapshot went.
enum class Why {
    Launch,     // a launch starts afresh
    Purge,      // -p
    Missing,    // no snapshot was there
    Surplus,    // more snapshots than the script keeps
    Unusable,   // undated or more than 99 % full
    Size,       // not the size the script keeps
    Rotation,   // its lifetime or period is over
    Additional, // the second snapshot of a trigger or a pair
    Undated,    // the queue drops what it cannot date
    TooClose,   // the queue keeps its snapshots a period apart
    Overfilled, // 95 % full or more
};

// Who asks and why: the script's number (0 for -p) and the reason.
struct Cause {
    int32_t script;
    Why why;
};

// Why the library refuses a creation, in words, from its can_create_lvm_snapshot code.
[[nodiscard]] std::string refusalReason(int32_t code);
// Whether the library can create a snapshot of `size` now; a refusal is logged with its reason.
[[nodiscard]] bool creationAllowed(const Cause& cause, uint64_t size);
// Creates a snapshot of `size` (0: full-sized) only after the library said yes for that size.
[[nodiscard]] bool createIfAllowed(const Cause& cause, uint64_t size);
// Creates it without asking first, for a launch that asked before it saved its configuration.
[[nodiscard]] bool createSnapshot(const Cause& cause, uint64_t size);
[[nodiscard]] bool removeSnapshot(const Cause& cause, SnapshotHandle snapshot);
[[nodiscard]] bool resizeSnapshot(const Cause& cause, SnapshotHandle snapshot, uint64_t size);

// Removes the entries of `list` from index `first` up to (not including) `end`, in list order,
// each one tried even after another failed. True when every removal succeeded (also when the
// range is empty).
[[nodiscard]] bool removeEntries(const Cause& cause, const SnapshotListGuard& list,
                                 std::size_t first, std::size_t end);
