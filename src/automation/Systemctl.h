// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The timer is driven only through these command lines, run by the shell as written; only their
// exit statuses count (0 = success, and for the two questions 0 = yes).
namespace systemctl {

inline constexpr const char* kIsActive =
    "systemctl is-active -q norva-snapshots.timer >/dev/null 2>&1";
inline constexpr const char* kIsEnabled =
    "systemctl is-enabled -q norva-snapshots.timer >/dev/null 2>&1";
inline constexpr const char* kStop = "systemctl stop norva-snapshots.timer >/dev/null 2>&1";
inline constexpr const char* kDisable = "systemctl disable norva-snapshots.timer >/dev/null 2>&1";
inline constexpr const char* kEnable = "systemctl enable norva-snapshots.timer >/dev/null 2>&1";
inline constexpr const char* kStart = "systemctl start norva-snapshots.timer >/dev/null 2>&1";

} // namespace systemctl
