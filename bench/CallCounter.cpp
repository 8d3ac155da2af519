// SPDX-License-Identifier: GPL-2.0-or-later
// Preloaded into the tool by the benchmark: counts the calls of the twelve library functions
// and, when the tool ends, appends one line to the file that NORVA_BENCH_RECORD names:
//   <pid> <calls> <user+system microseconds> <peak resident KiB>
// The tool's own figures only: lvm and systemctl are other processes.
#include "norvasnapshots_functions.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

unsigned long calls = 0;

template <typename Function> Function next(const char* name)
{
    ++calls;
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

[[gnu::destructor]] void writeRecord()
{
    const char* path = std::getenv("NORVA_BENCH_RECORD");
    if (path == nullptr) {
        return;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const long micros = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000L +
                        usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%d %lu %ld %ld\n", static_cast<int>(::getpid()), calls, micros,
                     usage.ru_maxrss);
        std::fclose(file);
    }
}

} // namespace

// Each function of the table, defined with the library's own signature (a row that differs from
// the header does not compile), counts the call and hands it on.
#define NORVA_COUNTED(result, name, parameters, arguments, kind)                                   \
    result name parameters                                                                         \
    {                                                                                              \
        return next<result(*) parameters>(#name) arguments;                                        \
    }

extern "C" {
NORVA_SNAPSHOT_FUNCTIONS(NORVA_COUNTED)
}
