// SPDX-License-Identifier: LGPL-2.1-or-later
/* The snapshot library that the tool drives: libnorvasnapshots.so.0.
 *
 * The tool decides and the library acts. Every implementation (the simulated one for tests
 * and the demo, the real one over LVM2) exports exactly these twelve functions with C linkage.
 *
 * Sizes are unsigned 64-bit numbers in one unit throughout (bytes in our implementations); a
 * size of 0 asks for a full-sized snapshot. Times are seconds since the Unix epoch, 0 meaning
 * that a snapshot's creation time is not available.
 */
#ifndef NORVA_SNAPSHOTS_H
#define NORVA_SNAPSHOTS_H

#include <stdbool.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Names one snapshot; opaque, never null inside a list. */
typedef struct NorvaSnapshot* SnapshotHandle;

/* Null-terminated array of handles, oldest snapshot first. Never a null pointer: an empty
 * list has a null first entry. A held list does not change when snapshots are created or
 * removed, and its handles stay safe to query until the list is released. */
typedef SnapshotHandle* SnapshotList;

/* Every snapshot of the root volume, oldest first. Release it with
 * free_existing_lvm_snapshots after the last use of its handles. */
SnapshotList existing_lvm_snapshots(void);

/* Releases a list returned by existing_lvm_snapshots, with every handle in it. */
void free_existing_lvm_snapshots(SnapshotList list);

/* True when a snapshot of that size (0 = full-sized) was created as the newest one. */
bool create_lvm_snapshot(uint64_t size);

/* What can_create_lvm_snapshot answers: 0 when a snapshot of that size can be created now,
 * otherwise why not. Every implementation answers these codes; the reason in detail goes to
 * the system log. */
enum NorvaCanCreate {
    NORVA_CAN_CREATE = 0,
    /* "/" is not on a volume of which this library can make snapshots. */
    NORVA_NO_ROOT_VOLUME = 1,
    /* The volumes could not be read now. */
    NORVA_REPORT_FAILED = 2,
    /* The root's volume group has less free space than the snapshot needs. */
    NORVA_NO_SPACE = 3,
    /* A snapshot is being merged back into the root volume: until the merge is done, no
     * snapshot is made, changed or removed. */
    NORVA_MERGE_PENDING = 4,
    /* The size is below the smallest snapshot the volume group can hold. */
    NORVA_TOO_SMALL = 5
};

/* NORVA_CAN_CREATE (0) when a snapshot of that size (0 = full-sized) can be created now;
 * otherwise another code of enum NorvaCanCreate. */
int32_t can_create_lvm_snapshot(uint64_t size);

/* True when the snapshot was removed. */
bool remove_lvm_snapshot(SnapshotHandle snapshot);

/* True when the snapshot now has that size (0 = full-sized). */
bool resize_lvm_snapshot(SnapshotHandle snapshot, uint64_t size);

/* Creation time of the snapshot; 0 when not available (also for a removed snapshot). */
uint64_t lvm_snapshot_creation_time(SnapshotHandle snapshot);

/* Percent of the snapshot in use; above 99 means exhausted. */
uint64_t lvm_snapshot_filling_percent(SnapshotHandle snapshot);

uint64_t lvm_snapshot_size(SnapshotHandle snapshot);

uint64_t root_volume_size(void);

/* Free space of the volume group that holds the root volume. */
uint64_t root_vg_free_space(void);

/* Space in use on the file system that holds /boot. */
uint64_t boot_partition_used_space(void);

#ifdef __cplusplus
}
#endif

#endif
