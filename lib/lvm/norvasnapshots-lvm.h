// SPDX-License-Identifier: LGPL-2.1-or-later
/* What can_create_lvm_snapshot of the LVM2 implementation of libnorvasnapshots.so.0 answers.
 *
 * 0 means that the root volume group has, at the moment of the call, the free extents that a
 * snapshot of the asked size takes (size 0: the largest useful copy-on-write size of the root
 * volume). Every other answer is one of the codes below; the reason, with lvm's own message,
 * is written to the system log under the identity "libnorvasnapshots".
 */
#ifndef NORVA_SNAPSHOTS_LVM_H
#define NORVA_SNAPSHOTS_LVM_H

enum NorvaLvmCanCreate {
    NORVA_LVM_CAN_CREATE = 0,
    /* "/" is not mounted from an LVM logical volume that can have classic snapshots. */
    NORVA_LVM_NO_ROOT_VOLUME = 1,
    /* lvm could not be run or did not report the root volume group. */
    NORVA_LVM_REPORT_FAILED = 2,
    /* The root volume group has fewer free extents than the snapshot needs. */
    NORVA_LVM_NO_SPACE = 3,
    /* A snapshot of the root volume is being merged back into it (lvconvert --merge): no
     * snapshot is made, changed or removed until the merge is done. */
    NORVA_LVM_MERGE_PENDING = 4,
    /* The asked size is smaller than one extent of the volume group. */
    NORVA_LVM_TOO_SMALL = 5
};

#endif
