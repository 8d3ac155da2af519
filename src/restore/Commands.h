// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "text/Translate.h"

#include <array>
#include <string>

// The commands of norva-snapshots-restore, a table as the tool's options are: one row a
// command, with what it takes and the function that runs it. A handler gives the exit status.

struct RestoreArguments {
    std::string name;  // the restore point, for the commands that take one
    bool flag = false; // the row's one option (--json, --yes) was given
};

struct CommandRow {
    const char* name;
    bool takesName;
    const char* option; // null when the command has none
    int (*handler)(const RestoreArguments& arguments);
    const char* usage; // the line of the usage text
};

int listCommand(const RestoreArguments& arguments);
int changesCommand(const RestoreArguments& arguments);
int rollbackCommand(const RestoreArguments& arguments);
int bootCommand(const RestoreArguments& arguments);
int aptHookCommand(const RestoreArguments& arguments);

// The usage lines are message ids; their dashes stand in one column, as the tool's do.
inline constexpr std::array<CommandRow, 5> kCommandRows{{
    {"list", false, "--json", listCommand,
     trNoop("list [--json]          - List the restore points of \"/\", oldest first.")},
    {"changes", true, nullptr, changesCommand,
     trNoop("changes NAME           - Show the packages and /etc files changed since NAME.")},
    {"rollback", true, "--yes", rollbackCommand,
     trNoop("rollback NAME [--yes]  - Roll \"/\" back to NAME; the next boot completes it.")},
    {"boot", true, nullptr, bootCommand,
     trNoop("boot NAME              - Start the next boot only from NAME, read-only.")},
    {"apt-hook", false, nullptr, aptHookCommand,
     trNoop("apt-hook               - Keep a restore point before a package change (run by APT).")},
}};

// Runs the command that `argv` names; the result is the process's exit status.
[[nodiscard]] int runRestoreCommand(int argc, char* argv[]);
