// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// The chosen script and its parameters, as the prompts gather them and the configuration file
// keeps them. Every field 0 means that no script is chosen.
struct ScriptConfig {
    int32_t script = 0;
    int32_t lifetime = 0;      // days: snapshot lifetime (2, 4) or rotation period (5, 6)
    int32_t quantity = 0;      // snapshots in the queue (5)
    uint64_t snapshotSize = 0; // size of every queue snapshot, fixed at launch (5)

    // Chooses another script and forgets every parameter of the previous one.
    void reset(int32_t number) { *this = ScriptConfig{number, 0, 0, 0}; }

    friend bool operator==(const ScriptConfig&, const ScriptConfig&) = default;
};
