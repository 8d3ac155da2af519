// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "text/Translate.h"

#include <array>

// The usage text: message ids, translated when written. The descriptions' dashes stand at the
// 32nd character of their lines. The list of scripts is the table's (scripts/ScriptTable.h).
inline constexpr std::array<const char*, 9> kOptionLines{
    trNoop("Usage: norva-snapshots-manager OPTION"),
    trNoop("-h, --help                     - Show this help."),
    trNoop(
        "-s<number>, --script=<number>  - Launch shapshots automation script with given number."),
    trNoop("-b, --break                    - Stop snapshots automation process."),
    trNoop("-r, --restart                  - Restart snapshots automation process."),
    trNoop("-p, --purge                    - Delete all existing root volume snapshots."),
    trNoop("-c, --check                    - Check snapshots state; started on schedule when "
           "automation "
           "is enabled."),
    trNoop("-t, --trigger                  - Launch special automation function if it exists in "
           "current "
           "script."),
    trNoop(
        "-i, --info                     - Show info about automation status and current script."),
};

// Writes the options, an empty line, "Available scripts:" and each script's lines on standard
// output.
void printUsage();
