// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

// The kernels in /boot against the modules of a restore point. A separate /boot is not rolled
// back with "/": a kernel installed after the restore point was taken stays in /boot and in
// GRUB's menu, while its modules (/lib/modules/VERSION) go with the rollback, and it no longer
// boots properly.

// The versions of the kernels in `bootDirectory` (its vmlinuz-VERSION files), newest first.
[[nodiscard]] std::vector<std::string> bootKernels(const std::string& bootDirectory);

struct KernelCheck {
    std::vector<std::string> lacking;  // no modules in the restore point, newest first
    std::vector<std::string> bootable; // with their modules, newest first
};

// Sorts `kernels` (newest first) by whether the restore point has their modules.
[[nodiscard]] KernelCheck checkKernels(const std::vector<std::string>& kernels,
                                       const std::function<bool(const std::string&)>& hasModules);
