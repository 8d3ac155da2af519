// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "text/Translate.h"

#include <array>

// The usage text: message ids, translated when written. The descriptions' dashes stand at the
// 32nd character of their lines; the continuation lines of scripts 3 and 4 are ids of their own.
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

inline constexpr std::array<const char*, 9> kScriptLines{
    trNoop("Available scripts:"),
    trNoop("1: one full-sized snapshot;"),
    trNoop("2: one full-sized snapshot with a rotation at the end of a lifetime;"),
    trNoop(
        "3: one full-sized snapshot with a trigger function creating additional one and stopping"),
    trNoop("   snapshots management automation;"),
    trNoop("4: one full-sized snapshot with a rotation at the end of a lifetime and a trigger "
           "function"),
    trNoop("   creating additional one and stopping snapshots management automation;"),
    trNoop("5: queue of snapshots with a rotation at the end of a lifetime;"),
    trNoop(
        "6: two snapshots (full-sized and additional) with a rotation at the end of a lifetime."),
};

// Writes the options, an empty line and the scripts on standard output.
void printUsage();
