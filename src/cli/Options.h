// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>
#include <getopt.h>

// One command-line option: its long and short names and the operation it runs. A handler gets
// the option's argument (null for options without one) and gives the exit status.
struct OptionRow {
    const char* longName;
    int argument; // no_argument or required_argument, as getopt_long takes it
    char shortName;
    // Runs that may change snapshots, the timer or the configuration hold the run lock.
    bool exclusive;
    int (*handler)(const char* argument);
};

int helpCommand(const char* argument);
int launchCommand(const char* argument);
int breakCommand(const char* argument);
int restartCommand(const char* argument);
int purgeCommand(const char* argument);
int checkCommand(const char* argument);
int triggerCommand(const char* argument);
int infoCommand(const char* argument);

inline constexpr std::array<OptionRow, 8> kOptionRows{{
    {"help", no_argument, 'h', false, helpCommand},
    // A launch takes the lock itself, once its questions are answered.
    {"script", required_argument, 's', false, launchCommand},
    {"break", no_argument, 'b', true, breakCommand},
    {"restart", no_argument, 'r', true, restartCommand},
    {"purge", no_argument, 'p', true, purgeCommand},
    {"check", no_argument, 'c', true, checkCommand},
    {"trigger", no_argument, 't', true, triggerCommand},
    {"info", no_argument, 'i', false, infoCommand},
}};

inline constexpr const char* kShortOptions = "hs:brpcti";

// Parses the one option of `argv` and runs it; the result is the process's exit status.
[[nodiscard]] int runOption(int argc, char* argv[]);
