// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/RunLock.h"

#include "text/SystemLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Short enough that a waiting run starts soon after the other ends, long enough to cost nothing.
constexpr std::chrono::milliseconds kPollInterval{100};

bool tryLock(int fd)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool isOurLockFile(int fd)
{
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}

// /run/lock is writable by every user: a lock file, or a symlink, planted there by someone else
// and held could stop every run for good. Only a regular file of our own user is used; anything
// else in its place is removed and the file made anew. O_CLOEXEC: systemctl and the snapshot
// library's children must not hold the lock for us.
int openLockFile(const char* path)
{
    const int fd = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd >= 0 && isOurLockFile(fd)) {
        return fd;
    }
    if (fd >= 0) {
        ::close(fd);
    }
    if (::unlink(path) != 0 && errno != ENOENT) {
        return -1;
    }
    return ::open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
}

} // namespace

std::optional<RunLock> RunLock::acquire(const char* path, std::chrono::milliseconds longestWait)
{
    const int fd = openLockFile(path);
    if (fd < 0) {
        logLine(LogLevel::Error, formatMessage(trNoop("The run lock %s cannot be opened: %s."),
                                               path, std::strerror(errno)));
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + longestWait;
    while (!tryLock(fd)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
            logLine(LogLevel::Error,
                    formatMessage(trNoop("Another run holds the run lock %s; this one gave up "
                                         "after %lld seconds and changed nothing."),
                                  path, static_cast<long long>(longestWait.count() / 1000)));
            return std::nullopt;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    return RunLock(fd);
}

RunLock::~RunLock()
{
    if (fd_ >= 0) {
        ::close(fd_);
    }
}
