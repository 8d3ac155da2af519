#include "LockSandbox.h"

#include "SandboxFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/mount.h>
#include <unistd.h>

namespace fs = std::filesystem;

void LockSandbox::SetUp()
{
    const std::string own = linkTarget("/proc/self/ns/mnt");
    ASSERT_FALSE(own.empty());
    ASSERT_NE(own, linkTarget("/proc/1/ns/mnt"))
        << "refusing to mount over /etc outside a private mount namespace (not root?)";
    std::string pattern = (fs::temp_directory_path() / "norva-lock.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    directory_ = pattern;
    for (const char* name : {"upper", "work", "bin", "systemctl"}) {
        fs::create_directory(path(name));
    }
    mountOrFail("overlay", "/etc", "overlay",
                "lowerdir=/etc,upperdir=" + path("upper") + ",workdir=" + path("work"));
    mountOrFail("tmpfs", "/run/lock", "tmpfs", "mode=1777");
    ASSERT_FALSE(HasFatalFailure());
    fs::copy_file(NORVA_HARDENING_FAKE_SYSTEMCTL, path("bin/systemctl"));
    std::error_code ignored;
    fs::remove(kConfigPath, ignored);
    sim({"init"});
}

void LockSandbox::TearDown()
{
    releaseLock();
    for (auto mount = mounts_.rbegin(); mount != mounts_.rend(); ++mount) {
        EXPECT_EQ(::umount2(mount->c_str(), MNT_DETACH), 0) << *mount;
    }
    if (!directory_.empty()) {
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
    }
}

void LockSandbox::mountOrFail(const char* source, const char* target, const char* type,
                              const std::string& data)
{
    ASSERT_EQ(::mount(source, target, type, 0, data.c_str()), 0)
        << "mount " << type << " on " << target << ": " << std::strerror(errno);
    mounts_.emplace_back(target);
}

std::string LockSandbox::simState() const
{
    return readFile(path("sim-state"));
}

void LockSandbox::setSimState(const std::string& text) const
{
    writeFile(path("sim-state"), text);
}

void LockSandbox::writeConfig(const std::string& text) const
{
    writeFile(kConfigPath, text);
}

std::optional<std::string> LockSandbox::config() const
{
    if (!fs::exists(kConfigPath)) {
        return std::nullopt;
    }
    return readFile(kConfigPath);
}

std::string LockSandbox::systemctlLog() const
{
    return readFile(path("systemctl/log"));
}

void LockSandbox::setTimer(bool active, bool enabled) const
{
    for (const auto& [name, present] : {std::pair{"active", active}, {"enabled", enabled}}) {
        if (present) {
            writeFile(path(std::string("systemctl/") + name), "");
        } else {
            fs::remove(path(std::string("systemctl/") + name));
        }
    }
}

bool LockSandbox::timerActive() const
{
    return fs::exists(path("systemctl/active"));
}

void LockSandbox::holdLock()
{
    lockFd_ = ::open(kLockPath, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(lockFd_, 0) << std::strerror(errno);
    ASSERT_EQ(::flock(lockFd_, LOCK_EX), 0) << std::strerror(errno);
}

void LockSandbox::releaseLock()
{
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}
