// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string_view>

// Orders two Debian version strings ([epoch:]upstream[-revision]) as dpkg does: negative when
// `a` is older than `b`, 0 when they are equal, positive when newer. Also orders kernel
// releases such as "6.1.0-57-amd64" as Debian's kernel packages are ordered.
[[nodiscard]] int compareDebianVersions(std::string_view a, std::string_view b);
