#pragma once

#include <string>
#include <utility>
#include <vector>

// The test's side of the fake systemctl script: sets the timer's state, makes verbs fail and
// reads back the calls the tool made, all through files of one state directory.
class FakeSystemctl {
public:
    FakeSystemctl() = default;
    explicit FakeSystemctl(std::string stateDir) : stateDir_(std::move(stateDir)) {}

    // Copies the script into binDir as "systemctl", executable; false on failure.
    [[nodiscard]] bool installInto(const std::string& binDir) const;

    void setTimer(bool active, bool enabled) const;
    // Every later call with that verb (is-active, stop, ...) exits with 1 and changes nothing.
    void failVerb(const std::string& verb) const;

    [[nodiscard]] bool timerActive() const;
    [[nodiscard]] bool timerEnabled() const;
    // One entry per call, its arguments joined by blanks, e.g. "stop norva-snapshots.timer".
    [[nodiscard]] std::vector<std::string> calls() const;
    void forgetCalls() const;

    [[nodiscard]] const std::string& stateDir() const { return stateDir_; }

private:
    void setFlag(const std::string& name, bool present) const;
    [[nodiscard]] bool hasFlag(const std::string& name) const;

    std::string stateDir_;
};

// The six command lines' verbs as the log records them.
inline const std::string kIsActive = "is-active -q norva-snapshots.timer";
inline const std::string kIsEnabled = "is-enabled -q norva-snapshots.timer";
inline const std::string kStop = "stop norva-snapshots.timer";
inline const std::string kDisable = "disable norva-snapshots.timer";
inline const std::string kEnable = "enable norva-snapshots.timer";
inline const std::string kStart = "start norva-snapshots.timer";
