#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// One program run as a child process with a fixed environment, its standard streams bound
// to files, and a deadline after which it is killed.
struct ChildRequest {
    std::string program;           // path handed to execve
    std::vector<std::string> argv; // argv[0] included
    std::vector<std::string> env;  // the whole environment, NAME=value
    std::string stdinPath;         // opened read-only as fd 0
    std::string stdoutPath;        // created or truncated as fd 1
    std::string stderrPath;        // created or truncated as fd 2, unless mergeStderr
    bool mergeStderr = false;      // fd 2 shares fd 1's file and offset, as with 2>&1
    std::optional<mode_t> umask;   // file-creation mask of the child, else inherited
};

struct ChildOutcome {
    bool started = false;  // fork and the stream set-up worked
    bool exited = false;   // ended through exit, with exitStatus
    int exitStatus = -1;   // valid when exited
    int termSignal = 0;    // the signal that ended it, when not exited
    bool timedOut = false; // killed at the deadline
    std::string problem;   // why it did not start, for the test's message
};

// Runs the child to its end (or kills it at the deadline) and waits for it.
[[nodiscard]] ChildOutcome runChild(const ChildRequest& request,
                                    std::chrono::milliseconds deadline);

// Reads a whole file; nullopt when it cannot be opened.
[[nodiscard]] std::optional<std::string> readWholeFile(const std::string& path);

// Writes bytes to a file, replacing it; false when it cannot be written.
[[nodiscard]] bool writeWholeFile(const std::string& path, const std::string& bytes);
