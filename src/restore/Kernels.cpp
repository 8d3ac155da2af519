// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/Kernels.h"

#include "restore/DebianVersion.h"

#include <algorithm>
#include <filesystem>

std::vector<std::string> bootKernels(const std::string& bootDirectory)
{
    constexpr std::string_view kPrefix = "vmlinuz-";
    std::vector<std::string> kernels;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(bootDirectory, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > kPrefix.size() && name.compare(0, kPrefix.size(), kPrefix) == 0 &&
            entry.is_regular_file(error)) {
            kernels.push_back(name.substr(kPrefix.size()));
        }
    }
    std::sort(kernels.begin(), kernels.end(), [](const std::string& a, const std::string& b) {
        return compareDebianVersions(a, b) > 0;
    });
    return kernels;
}

KernelCheck checkKernels(const std::vector<std::string>& kernels,
                         const std::function<bool(const std::string&)>& hasModules)
{
    KernelCheck check;
    for (const std::string& kernel : kernels) {
        (hasModules(kernel) ? check.bootable : check.lacking).push_back(kernel);
    }
    return check;
}
