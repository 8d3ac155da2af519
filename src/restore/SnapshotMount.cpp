// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/SnapshotMount.h"

#include "text/Translate.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned long kReadOnly = MS_RDONLY | MS_NOSUID | MS_NODEV | MS_NOEXEC;

struct FileSystem {
    const char* type;
    const char* options;
};

// What may be mounted, each with the options that keep it from writing to the device.
constexpr std::array<FileSystem, 2> kFileSystems{
    {{"ext4", "noload"}, {"xfs", "norecovery,nouuid"}}};

// Every mount of this process from now on is its own: the mount below propagates nowhere.
[[nodiscard]] bool enterPrivateNamespace(std::string& why)
{
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        why = formatMessage(trNoop("no mount namespace of its own: %s"), std::strerror(errno));
        return false;
    }
    return true;
}

// The type the device was mounted as; empty when no type of kFileSystems takes it.
[[nodiscard]] std::string mountAs(const std::string& device, const std::string& directory,
                                  int& error)
{
    for (const FileSystem& fs : kFileSystems) {
        if (::mount(device.c_str(), directory.c_str(), fs.type, kReadOnly, fs.options) == 0) {
            return fs.type;
        }
        // Another type's superblock gives EINVAL; anything else is the device's own trouble.
        error = errno;
        if (error != EINVAL) {
            break;
        }
    }
    return {};
}

} // namespace

std::optional<SnapshotMount> SnapshotMount::open(const std::string& device, std::string& why)
{
    std::string failure;
    if (!enterPrivateNamespace(failure)) {
        why = formatMessage(trNoop("%s cannot be mounted: %s."), device.c_str(), failure.c_str());
        return std::nullopt;
    }
    std::string path = "/run/norva-snapshots-restore.XXXXXX";
    if (::mkdtemp(path.data()) == nullptr) {
        why = formatMessage(trNoop("%s cannot be mounted: no directory for it: %s."),
                            device.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    int error = 0;
    const std::string type = mountAs(device, path, error);
    const int rootFd = type.empty() ? -1 : ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (rootFd < 0) {
        if (!type.empty()) {
            ::umount2(path.c_str(), MNT_DETACH);
        }
        ::rmdir(path.c_str());
        why = error == EINVAL
                  ? formatMessage(trNoop("%s cannot be mounted: it holds neither ext4 nor xfs."),
                                  device.c_str())
                  : formatMessage(trNoop("%s cannot be mounted: %s."), device.c_str(),
                                  std::strerror(error));
        return std::nullopt;
    }
    return SnapshotMount(path, type, rootFd);
}

SnapshotMount::SnapshotMount(std::string path, std::string type, int rootFd)
    : path_(std::move(path)), type_(std::move(type)), rootFd_(rootFd)
{
}

SnapshotMount::SnapshotMount(SnapshotMount&& other) noexcept
    : path_(std::move(other.path_)), type_(std::move(other.type_)), rootFd_(other.rootFd_)
{
    other.rootFd_ = -1;
    other.path_.clear();
}

SnapshotMount::~SnapshotMount()
{
    if (rootFd_ >= 0) {
        ::close(rootFd_);
    }
    if (!path_.empty()) {
        ::umount2(path_.c_str(), MNT_DETACH);
        ::rmdir(path_.c_str());
    }
}

int SnapshotMount::openInside(const std::string& relative, int flags) const
{
    open_how how{};
    how.flags = static_cast<unsigned int>(flags | O_CLOEXEC);
    how.resolve = RESOLVE_IN_ROOT | RESOLVE_NO_MAGICLINKS | RESOLVE_NO_XDEV;
    return static_cast<int>(::syscall(SYS_openat2, rootFd_, relative.c_str(), &how, sizeof how));
}

std::optional<std::string> SnapshotMount::readFile(const std::string& relative) const
{
    const int fd = openInside(relative, O_RDONLY);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string text;
    std::array<char, 65536> buffer{};
    ssize_t count = 0;
    while ((count = ::read(fd, buffer.data(), buffer.size())) > 0) {
        text.append(buffer.data(), static_cast<size_t>(count));
    }
    ::close(fd);
    return count < 0 ? std::nullopt : std::optional<std::string>(std::move(text));
}

bool SnapshotMount::hasDirectory(const std::string& relative) const
{
    const int fd = openInside(relative, O_PATH | O_DIRECTORY);
    if (fd >= 0) {
        ::close(fd);
    }
    return fd >= 0;
}
