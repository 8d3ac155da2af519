// SPDX-License-Identifier: GPL-2.0-or-later
// The session of the benchmark's build of the library: the same logic as the shipped one, on
// the fake lvm and the fake mount and sysfs files in the directory that NORVA_BENCH_DIR names.
// Never installed; the shipped library has no way to be pointed elsewhere.
#include "LvmSession.h"

#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {

[[nodiscard]] std::string benchDirectory()
{
    const char* dir = std::getenv("NORVA_BENCH_DIR");
    return dir == nullptr ? std::string("/nonexistent") : std::string(dir);
}

} // namespace

LvmSession& currentSession()
{
    static const std::string dir = benchDirectory();
    static LvmSession session(
        SystemPaths{dir + "/lvm", dir + "/mountinfo", dir + "/sys", dir + "/boot"},
        [](int, const std::string& line) {
            std::ofstream(dir + "/library.log", std::ios::app) << line << "\n";
        },
        [] { return static_cast<uint64_t>(std::time(nullptr)); });
    return session;
}
