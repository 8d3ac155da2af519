// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "restore/Kernels.h"
#include "restore/RestorePoints.h"
#include "restore/SnapshotMount.h"

#include <optional>
#include <string>

// What rollback and boot check before they change anything; each refusal is a sentence.

// The restore point `name`, when it can be read and rolled back to: one of ours, dated,
// active, not overflowed and not being merged back. Null, with why, otherwise.
[[nodiscard]] const RestorePoint* usablePoint(const RestoreVolumes& volumes,
                                              const std::string& name, std::string& why);

// The kernels that boot after a rollback (those of a separate /boot, or the restore point's own
// when /boot is inside "/") against the modules in `mount`; empty, with why, when there is no
// kernel (a separate /boot that is not mounted looks like that) or none has its modules there.
[[nodiscard]] std::optional<KernelCheck> kernelsFor(const SnapshotMount& mount, std::string& why);
