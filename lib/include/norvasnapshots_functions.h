// SPDX-License-Identifier: LGPL-2.1-or-later
/* The twelve functions of norvasnapshots.h as one table, for code that must treat every one of
 * them alike: the benchmark's call counter wraps each, the simulator knows from it which can be
 * made to fail and which act on one snapshot, and the unit tests fail each in turn. A function
 * added to the library is added here, and to the version script beside the libraries
 * (lib/norvasnapshots.map). One row:
 *
 *   F(result, name, (parameters), (arguments), kind)
 */
#ifndef NORVA_SNAPSHOTS_FUNCTIONS_H
#define NORVA_SNAPSHOTS_FUNCTIONS_H

#include "norvasnapshots.h"

/* What a function does, as far as a caller that treats them alike needs to know. */
enum NorvaFunctionKind {
    NORVA_LISTS,       /* hands out a list */
    NORVA_RELEASES,    /* releases one; it has no result, so it cannot fail */
    NORVA_ANSWERS,     /* answers about the volumes or what can be made, changing nothing */
    NORVA_ANSWERS_ONE, /* answers about the snapshot of a handle, changing nothing */
    NORVA_CHANGES,     /* changes the snapshots */
    NORVA_CHANGES_ONE  /* changes the snapshot of a handle */
};

#define NORVA_SNAPSHOT_FUNCTIONS(F)                                                                \
    F(SnapshotList, existing_lvm_snapshots, (void), (), NORVA_LISTS)                               \
    F(void, free_existing_lvm_snapshots, (SnapshotList list), (list), NORVA_RELEASES)              \
    F(bool, create_lvm_snapshot, (uint64_t size), (size), NORVA_CHANGES)                           \
    F(int32_t, can_create_lvm_snapshot, (uint64_t size), (size), NORVA_ANSWERS)                    \
    F(bool, remove_lvm_snapshot, (SnapshotHandle snapshot), (snapshot), NORVA_CHANGES_ONE)         \
    F(bool, resize_lvm_snapshot, (SnapshotHandle snapshot, uint64_t size), (snapshot, size),       \
      NORVA_CHANGES_ONE)                                                                           \
    F(uint64_t, lvm_snapshot_creation_time, (SnapshotHandle snapshot), (snapshot),                 \
      NORVA_ANSWERS_ONE)                                                                           \
    F(uint64_t, lvm_snapshot_filling_percent, (SnapshotHandle snapshot), (snapshot),               \
      NORVA_ANSWERS_ONE)                                                                           \
    F(uint64_t, lvm_snapshot_size, (SnapshotHandle snapshot), (snapshot), NORVA_ANSWERS_ONE)       \
    F(uint64_t, root_volume_size, (void), (), NORVA_ANSWERS)                                       \
    F(uint64_t, root_vg_free_space, (void), (), NORVA_ANSWERS)                                     \
    F(uint64_t, boot_partition_used_space, (void), (), NORVA_ANSWERS)

#ifdef __cplusplus
/* The table's names and kinds, for C++ code that looks a function up by its name. */
struct NorvaFunction {
    const char* name;
    NorvaFunctionKind kind;
};

#define NORVA_FUNCTION_ROW(result, name, parameters, arguments, kind) {#name, kind},
inline constexpr NorvaFunction kNorvaFunctions[] = {NORVA_SNAPSHOT_FUNCTIONS(NORVA_FUNCTION_ROW)};
#undef NORVA_FUNCTION_ROW
#endif

#endif
