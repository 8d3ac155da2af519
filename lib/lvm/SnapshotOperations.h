// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "LvmSession.h"

#include <cstdint>

// The library's operations on a session; the C functions only guard them. Each answers
// failure (an empty list, false, 0, a non-zero code) without changing anything when "/" is
// not an LV or lvm cannot report it. Only snapshots of the root that carry our tag are ever
// listed or changed, and nothing is changed while a rollback into the root is pending.

[[nodiscard]] SnapshotHandle* listSnapshots(LvmSession& session);
[[nodiscard]] int32_t canCreateSnapshot(LvmSession& session, uint64_t size);
[[nodiscard]] bool createSnapshot(LvmSession& session, uint64_t size);
[[nodiscard]] bool removeSnapshot(LvmSession& session, NorvaSnapshot& snapshot);
[[nodiscard]] bool resizeSnapshot(LvmSession& session, NorvaSnapshot& snapshot, uint64_t size);

[[nodiscard]] uint64_t rootVolumeSize(LvmSession& session);
[[nodiscard]] uint64_t rootVgFreeSpace(LvmSession& session);
[[nodiscard]] uint64_t bootUsedSpace(LvmSession& session);

// True (and logged for `caller`) when a snapshot of the root is being merged back into it.
[[nodiscard]] bool rollbackPending(LvmSession& session, const LvmReport& report,
                                   const char* caller);
