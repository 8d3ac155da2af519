// SPDX-License-Identifier: GPL-2.0-or-later
#include "config/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The kernel's own limit on a chain of symlinks.
constexpr int kMaxSymlinkHops = 40;

constexpr const char* kTemporaryPrefix = ".norva-snapshots-manager.";

std::string directoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string readLink(const std::string& path)
{
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) {
        return {};
    }
    return std::string(buffer.data(), static_cast<size_t>(length));
}

bool writeAll(int fd, std::string_view content)
{
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

mode_t creationMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Gives the new file what the old one had, or what a plain creation would have given.
bool applyOwnershipAndMode(int fd, const std::string& target)
{
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0) {
        return errno == ENOENT && ::fchmod(fd, creationMode()) == 0;
    }
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        return false;
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

bool fillTemporary(int fd, const std::string& target, std::string_view content)
{
    return applyOwnershipAndMode(fd, target) && writeAll(fd, content) && ::fsync(fd) == 0;
}

// Makes the rename itself durable; a failure here no longer endangers the old or new file.
void syncDirectory(const std::string& directory)
{
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        static_cast<void>(::fsync(fd));
        ::close(fd);
    }
}

} // namespace

std::string followSymlinks(const std::string& path)
{
    std::string current = path;
    for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
        struct stat status {};
        if (::lstat(current.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return current;
        }
        const std::string link = readLink(current);
        if (link.empty()) {
            return {};
        }
        current = link.front() == '/' ? link : directoryOf(current) + "/" + link;
    }
    return {};
}

namespace {

// Only a regular file, or none yet, is ever replaced: a link to a device or a directory must not
// end with the rename putting a plain file in its place.
bool isReplaceable(const std::string& target)
{
    struct stat status {};
    if (::stat(target.c_str(), &status) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(status.st_mode);
}

// Whether the process that named a temporary file ".norva-snapshots-manager.PID.XXXXXX" has
// ended; a process of another user that is running answers EPERM and so is alive.
bool writerEnded(const std::string& temporary)
{
    const std::string name = temporary.substr(temporary.rfind('/') + 1);
    const char* digits = name.c_str() + std::strlen(kTemporaryPrefix);
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    return pid > 0 && *end == '.' && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// A writer killed between creating its temporary file and the rename leaves that file behind.
// Writers need not hold the run lock (the metrics program does not), so only the files of
// writers that have ended are such leftovers; a running one's file is its own.
void removeLeftoverTemporaries(const std::string& directory)
{
    glob_t found{};
    if (::glob((directory + "/" + kTemporaryPrefix + "*.??????").c_str(), GLOB_NOSORT, nullptr,
               &found) == 0) {
        for (std::size_t index = 0; index < found.gl_pathc; ++index) {
            if (writerEnded(found.gl_pathv[index])) {
                ::unlink(found.gl_pathv[index]);
            }
        }
    }
    ::globfree(&found);
}

} // namespace

bool replaceFileAtomically(const std::string& path, std::string_view content)
{
    const std::string target = followSymlinks(path);
    if (target.empty() || !isReplaceable(target)) {
        return false;
    }
    removeLeftoverTemporaries(directoryOf(target));
    std::string temporary =
        directoryOf(target) + "/" + kTemporaryPrefix + std::to_string(::getpid()) + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool filled = fillTemporary(fd, target, content);
    const bool closed = ::close(fd) == 0;
    if (!filled || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncDirectory(directoryOf(target));
    return true;
}
