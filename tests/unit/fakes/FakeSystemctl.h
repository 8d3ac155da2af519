#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <vector>

// Stands in for systemctl and its timer while a test owns it: runCommandLine() records every
// command line as given, applies the verb to the timer's active and enabled flags, and answers
// as systemctl would. A command line it does not know fails the test.
class FakeSystemctl {
public:
    FakeSystemctl();
    ~FakeSystemctl();
    FakeSystemctl(const FakeSystemctl&) = delete;
    FakeSystemctl& operator=(const FakeSystemctl&) = delete;

    [[nodiscard]] static FakeSystemctl* current() { return current_; }

    // The timer starts stopped and disabled.
    void setActive(bool active) { active_ = active; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    [[nodiscard]] bool active() const { return active_; }
    [[nodiscard]] bool enabled() const { return enabled_; }

    // That verb ("stop", "is-active", ...) fails from now on and changes nothing.
    void failVerb(std::string verb);

    // Every command line run, byte for byte, in order.
    [[nodiscard]] std::vector<std::string> lines() const { return lines_; }
    // The verbs of those lines ("is-active", "stop", ...); "?" for a line not known.
    [[nodiscard]] std::vector<std::string> verbs() const { return verbs_; }

    // For each line, how many snapshot library calls had been made before it: orders the
    // timer's commands against the snapshot work.
    [[nodiscard]] std::vector<size_t> libraryCallsBefore() const { return libraryCallsBefore_; }

    // What runCommandLine answers: true when the command line exits with 0.
    [[nodiscard]] bool run(const char* commandLine);

private:
    [[nodiscard]] bool apply(const std::string& verb);

    static inline FakeSystemctl* current_ = nullptr;
    FakeSystemctl* previous_ = nullptr;
    bool active_ = false;
    bool enabled_ = false;
    std::set<std::string> failingVerbs_;
    std::vector<std::string> lines_;
    std::vector<std::string> verbs_;
    std::vector<size_t> libraryCallsBefore_;
};
