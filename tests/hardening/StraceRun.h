#pragma once

#include "scripts/ScriptConfig.h"

#include <cstddef>
#include <string>
#include <vector>

// Runs the configuration writer (ConfigWriter.cpp) under strace: once to list the system calls
// of its save, then interrupted at one of them.

struct WriterCommand {
    std::string file;
    ScriptConfig record;
};

// One system call of the save: its name and which call of that name it is, counted from the
// writer's start as strace counts for its `when=` filter.
struct SyscallStep {
    std::string name;
    size_t occurrence = 0;
};

enum class Interruption {
    Kill, // SIGKILL as the writer enters the call: a crash or power cut at that point
    Fail, // the call fails with EIO and the writer goes on
};

struct WriterOutcome {
    bool exited = false;          // ended through exit, not a signal
    bool reportedSuccess = false; // the save answered true
};

// The system calls from the start of the save to the writer's end, in order.
[[nodiscard]] std::vector<SyscallStep> saveSteps(const WriterCommand& command);

[[nodiscard]] WriterOutcome runInterrupted(const WriterCommand& command, const SyscallStep& step,
                                           Interruption how);

[[nodiscard]] std::string describe(const SyscallStep& step, Interruption how);
