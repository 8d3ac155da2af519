// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "LvmReport.h"

#include <string>

// Why the library makes no snapshot of the root LV, in words; empty when it does. It makes
// classic snapshots of the layouts LVM takes them of: linear, striped, RAID (any level, but not
// with integrity), mirrored and cached (dm-cache, dm-writecache) volumes. A thin volume has
// snapshots of its own in its pool, which this library does not manage; LVM refuses the rest.
[[nodiscard]] std::string rootRefusal(const LvmReport& report);
