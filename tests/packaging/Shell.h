#pragma once

#include <string>
#include <vector>

// What one shell script printed and how it ended.
struct ShellResult {
    std::string out;
    std::string err;
    int status = -1; // the exit status; -1 when the shell did not exit normally
};

// Runs `script` with /bin/sh -c in the test's environment and mount namespace, standard input
// empty, and waits for it.
[[nodiscard]] ShellResult runShell(const std::string& script);

// `text` as one single-quoted shell word.
[[nodiscard]] std::string shellQuote(const std::string& text);

// The lines of `text`, without their line breaks.
[[nodiscard]] std::vector<std::string> splitLines(const std::string& text);
