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
    std::string layout;      // "linear", "raid,raid1", "thin,sparse"...
    std::string parent;      // the LV of which this hidden one is a part, by name
    bool merging = false;    // a snapshot merging back, or the origin it merges into
    uint64_t size = 0;       // bytes; for a snapshot its copy-on-write size
    uint64_t extentSize = 0;
    uint64_t vgFreeCount = 0;
    uint64_t pvCount = 0; // PVs of the VG

    [[nodiscard]] bool isSnapshot() const { return !attr.empty() && attr[0] == 's'; }
    [[nodiscard]] bool isInvalid() const { return attr.size() > 4 && attr[4] == 'I'; }
    [[nodiscard]] bool hasTag(std::string_view tag) const;
    // The number of the first tag "<prefix><digits>"; nullopt without one.
    [[nodiscard]] std::optional<uint64_t> numberTag(std::string_view prefix) const;
    // Every tag the library gives a snapshot it makes: a hand-added "norvasnap" is not enough.
    [[nodiscard]] bool hasOurTags() const;
};

// The tags the library gives every snapshot it makes: ours, the size asked for, the order
// among snapshots of the same second, the chunk size.
inline constexpr const char* kOwnTag = "norvasnap";
inline constexpr std::string_view kSizePrefix = "norvasnap_size_";
inline constexpr std::string_view kSequencePrefix = "norvasnap_seq_";
inline constexpr std::string_view kChunkPrefix = "norvasnap_chunk_";

// A whole decimal number and nothing else; nullopt for any other text.
[[nodiscard]] std::optional<uint64_t> decimal(std::string_view digits);

// The fields of LvRow, in the -o list given to lvs.
[[nodiscard]] std::string reportFields();

// One lvs report of the root VG (hidden LVs included), with the root LV found in it by uuid.
// Volume groups of another uuid that carry the root VG's name are not among its rows.
class LvmReport {
public:
    // Parses lvs's JSON report (--reportformat json --units b --nosuffix). Each LV is kept
    // once, whatever lvs printed. nullopt, with `why`, when the text is no such report or the
    // root LV is not in it.
    [[nodiscard]] static std::optional<LvmReport> parse(std::string_view json,
                                                        const RootIdentity& root, std::string& why);

    [[nodiscard]] const LvRow& root() const { return rows_[rootIndex_]; }
    [[nodiscard]] const std::vector<LvRow>& rows() const { return rows_; }
    [[nodiscard]] const LvRow* find(std::string_view uuid) const;
    [[nodiscard]] bool nameTaken(std::string_view name) const;

    // Whether the row is a snapshot of the root LV that this library made: it carries every
    // tag the library gives, not only the one an administrator may add by hand.
    [[nodiscard]] bool isOurs(const LvRow& row) const;
    // Whether lvconvert --merge is rolling a snapshot back into the root, now or at the root's
    // next activation. LVM then hides that snapshot and marks the root as merging.
    [[nodiscard]] bool rollbackPending() const { return root().merging; }
    // The uuids (without dashes) of other volume groups with the root VG's name: LVM then
    // refuses every command that names the VG.
    [[nodiscard]] const std::vector<std::string>& namesakes() const { return namesakes_; }

private:
    LvmReport(std::vector<LvRow> rows, size_t rootIndex, std::vector<std::string> namesakes);

    std::vector<LvRow> rows_;
    size_t rootIndex_;
    std::vector<std::string> namesakes_;
};
