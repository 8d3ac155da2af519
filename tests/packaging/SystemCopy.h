#pragma once

#include "Shell.h"

#include <string>

// True when this process has a mount namespace of its own (unlike PID 1, or, where PID 1's
// cannot be read, unlike its parent), so that what it mounts reaches no other process.
[[nodiscard]] bool inPrivateMountNamespace();

// A tmpfs on a fresh directory under /tmp. It is unmounted, never deleted file by file, when
// the object goes, so nothing mounted beneath it can be reached by a deletion.
class ScratchSpace {
public:
    ScratchSpace();
    ScratchSpace(const ScratchSpace&) = delete;
    ScratchSpace& operator=(const ScratchSpace&) = delete;
    ~ScratchSpace();

    [[nodiscard]] bool ready() const { return ready_; }
    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] const std::string& problem() const { return problem_; }

private:
    std::string path_;
    std::string problem_;
    bool ready_ = false;
};

// A writable copy of the running system for chroot: an overlay over "/" whose changes land in
// a scratch space, with a /proc of its own and only the harmless device nodes (null, zero,
// random, urandom) bound in. Packages installed into it, units enabled in it and files it
// writes never reach the machine.
class SystemCopy {
public:
    SystemCopy();

    [[nodiscard]] bool ready() const { return ready_; }
    [[nodiscard]] const std::string& problem() const { return problem_; }
    // The copy's root directory as seen from outside.
    [[nodiscard]] std::string root() const { return scratch_.path() + "/root"; }
    // Runs `script` with /bin/sh inside the copy, as root, in a clean environment with `env`
    // (NAME=value words) added.
    [[nodiscard]] ShellResult inside(const std::string& script, const std::string& env = "") const;

private:
    ScratchSpace scratch_;
    std::string problem_;
    bool ready_ = false;
};
