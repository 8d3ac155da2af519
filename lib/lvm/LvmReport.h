// SPDX-License-Identifier: LGPL-2.1-or-later
#pragma once

#include "RootDevice.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One logical volume as lvs reports it: its own fields and the facts of its VG, which lvs
// repeats on every row. Only per-LV fields are asked for: a segment field would make lvs print
// a row per segment, and one snapshot would look like several.
struct LvRow {
    std::string name;
    std::string vgName;
    std::string uuid;       // without dashes
    std::string vgUuid;     // without dashes
    std::string originUuid; // without dashes; empty when not a snapshot
    std::string attr;
    std::string time;        // epoch seconds, empty when LVM has no creation time
    std::string snapPercent; // "75.93", empty when it cannot be measured
    std::string tags;        // comma-separated
    uint64_t size = 0;       // bytes; for a snapshot its copy-on-write size
    uint64_t extentSize = 0;
    uint64_t vgFreeCount = 0;

    [[nodiscard]] bool isSnapshot() const { return !attr.empty() && attr[0] == 's'; }
    [[nodiscard]] bool isInvalid() const { return attr.size() > 4 && attr[4] == 'I'; }
    [[nodiscard]] bool hasTag(std::string_view tag) const;
};

// The tag the library gives every snapshot it makes; it manages no snapshot without it.
inline constexpr const char* kOwnTag = "norvasnap";

// The fields of LvRow, in the -o list given to lvs.
[[nodiscard]] std::string reportFields();

// One lvs report of the root VG, with the root LV found in it and checked once: an object of
// this class always has a root that can take classic snapshots.
class LvmReport {
public:
    // Parses lvs's JSON report (--reportformat json --units b --nosuffix). Each LV is kept
    // once, whatever lvs printed. nullopt, with `why`, when the text is no such report or the
    // root LV is not in it as a volume that can have snapshots.
    [[nodiscard]] static std::optional<LvmReport> parse(std::string_view json,
                                                        const RootIdentity& root, std::string& why);

    [[nodiscard]] const LvRow& root() const { return rows_[rootIndex_]; }
    [[nodiscard]] const std::vector<LvRow>& rows() const { return rows_; }
    [[nodiscard]] const LvRow* find(std::string_view uuid) const;
    [[nodiscard]] bool nameTaken(std::string_view name) const;

    // Whether the row is a snapshot of the root LV that this library made (it carries our tag).
    [[nodiscard]] bool isOurs(const LvRow& row) const;
    // Whether lvconvert --merge is rolling a snapshot back into the root, now or at the root's
    // next activation. LVM then hides that snapshot and marks the root as its merging origin.
    [[nodiscard]] bool rollbackPending() const { return root().attr[0] == 'O'; }

private:
    LvmReport(std::vector<LvRow> rows, size_t rootIndex);

    std::vector<LvRow> rows_;
    size_t rootIndex_;
};
