// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <utility>

// Keeps runs that change snapshots, the timer or the configuration one at a time: the timer's
// check and an administrator's trigger or purge must not remove each other's snapshots or
// create one too many. The lock is an exclusive flock held until the process ends.
class RunLock {
public:
    static constexpr const char* kPath = "/run/lock/norva-snapshots-manager.lock";
    static constexpr std::chrono::seconds kLongestWait{60};

    // The lock on `path`, waiting up to `longestWait` for another run to finish; empty when it
    // could not be had (still held by another run, or the lock file cannot be opened).
    [[nodiscard]] static std::optional<RunLock>
    acquire(const char* path = kPath, std::chrono::milliseconds longestWait = kLongestWait);

    RunLock(RunLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    RunLock& operator=(RunLock&& other) noexcept
    {
        std::swap(fd_, other.fd_);
        return *this;
    }
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;
    ~RunLock();

private:
    explicit RunLock(int fd) : fd_(fd) {}
    int fd_;
};
