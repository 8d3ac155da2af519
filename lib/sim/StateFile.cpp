// SPDX-License-Identifier: LGPL-2.1-or-later
#include "StateFile.h"

#include "SimStateText.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Holds an exclusive flock on a lock file for as long as it lives. The lock is not taken on
// the state file itself because every write replaces that file by another one.
class ExclusiveLock {
public:
    explicit ExclusiveLock(const std::string& lockPath)
        : fd_(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644))
    {
        int locked = -1;
        while (fd_ >= 0 && (locked = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (fd_ >= 0 && locked != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~ExclusiveLock()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

    [[nodiscard]] bool held() const { return fd_ >= 0; }

private:
    int fd_;
};

[[nodiscard]] std::optional<SimState> readStateText(const std::string& path)
{
    std::ifstream file(path);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        return std::nullopt;
    }
    return parseSimState(text.str());
}

} // namespace

std::optional<std::string> stateFileFromEnvironment()
{
    const char* path = std::getenv(kStateVariable);
    if (path == nullptr || *path == '\0') {
        return std::nullopt;
    }
    return std::string(path);
}

bool StateFile::update(const std::function<void(SimState&)>& change) const
{
    // Checked before the lock so that an unavailable state leaves no lock file behind.
    if (::access(path_.c_str(), R_OK) != 0) {
        return false;
    }
    const ExclusiveLock lock(path_ + ".lock");
    const auto before = lock.held() ? readStateText(path_) : std::nullopt;
    if (!before) {
        return false;
    }
    SimState after = *before;
    change(after);
    return after == *before || write(after);
}

std::optional<SimState> StateFile::read() const
{
    std::optional<SimState> current;
    if (!update([&](SimState& state) { current = state; })) {
        return std::nullopt;
    }
    return current;
}

bool StateFile::replace(const SimState& state) const
{
    const ExclusiveLock lock(path_ + ".lock");
    return lock.held() && write(state);
}

bool StateFile::write(const SimState& state) const
{
    const std::string temporary = path_ + ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        if (!(file << formatSimState(state)) || !file.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
