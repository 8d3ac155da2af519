// SPDX-License-Identifier: GPL-2.0-or-later
// Preloaded into the tool by the benchmark: counts the calls of the twelve library functions
// and, when the tool ends, appends one line to the file that NORVA_BENCH_RECORD names:
//   <pid> <calls> <user+system microseconds> <peak resident KiB>
// The tool's own figures only: lvm and systemctl are other processes.
#include "snapshots/norvasnapshots.h"

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

extern "C" {

SnapshotList existing_lvm_snapshots(void)
{
    return next<SnapshotList (*)()>("existing_lvm_snapshots")();
}
void free_existing_lvm_snapshots(SnapshotList list)
{
    next<void (*)(SnapshotList)>("free_existing_lvm_snapshots")(list);
}
bool create_lvm_snapshot(uint64_t size)
{
    return next<bool (*)(uint64_t)>("create_lvm_snapshot")(size);
}
int32_t can_create_lvm_snapshot(uint64_t size)
{
    return next<int32_t (*)(uint64_t)>("can_create_lvm_snapshot")(size);
}
bool remove_lvm_snapshot(SnapshotHandle snapshot)
{
    return next<bool (*)(SnapshotHandle)>("remove_lvm_snapshot")(snapshot);
}
bool resize_lvm_snapshot(SnapshotHandle snapshot, uint64_t size)
{
    return next<bool (*)(SnapshotHandle, uint64_t)>("resize_lvm_snapshot")(snapshot, size);
}
uint64_t lvm_snapshot_creation_time(SnapshotHandle snapshot)
{
    return next<uint64_t (*)(SnapshotHandle)>("lvm_snapshot_creation_time")(snapshot);
}
uint64_t lvm_snapshot_filling_percent(SnapshotHandle snapshot)
{
    return next<uint64_t (*)(SnapshotHandle)>("lvm_snapshot_filling_percent")(snapshot);
}
uint64_t lvm_snapshot_size(SnapshotHandle snapshot)
{
    return next<uint64_t (*)(SnapshotHandle)>("lvm_snapshot_size")(snapshot);
}
uint64_t root_volume_size(void)
{
    return next<uint64_t (*)()>("root_volume_size")();
}
uint64_t root_vg_free_space(void)
{
    return next<uint64_t (*)()>("root_vg_free_space")();
}
uint64_t boot_partition_used_space(void)
{
    return next<uint64_t (*)()>("boot_partition_used_space")();
}
}
