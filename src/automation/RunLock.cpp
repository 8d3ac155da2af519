#include "automation/RunLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

} // namespace

std::optional<RunLock> RunLock::acquire(const char* path, std::chrono::milliseconds longestWait)
{
    // O_CLOEXEC: systemctl and the snapshot library's children must not hold the lock for us.
    const int fd = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + longestWait;
    while (!tryLock(fd)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd);
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
