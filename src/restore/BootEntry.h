// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// The one look-around boot into a restore point: what GRUB's entry for it says. The entry
// itself is written by /etc/grub.d/42_norva-snapshots-restore when update-grub runs while the
// request (below) exists.

inline constexpr const char* kBootRequestDirectory = "/run/norva-snapshots-restore";
inline constexpr const char* kBootRequest = "/run/norva-snapshots-restore/boot-request";
inline constexpr const char* kBootEntryId = "norva-snapshots-restore";

// The kernel's command line for a restore point holding `fsType`: the running one's own
// options (console and the like), with "/" mounted read-only without replaying its journal,
// nothing that remounts it writable or checks it, no resume from hibernation, and no check of
// the snapshots (the restore point is no root volume the library may work on).
[[nodiscard]] std::string lookAroundOptions(std::string_view runningCommandLine,
                                            std::string_view fsType);
