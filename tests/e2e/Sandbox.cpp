#include "Sandbox.h"

#include "ChildProcess.h"
#include "MountNamespace.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>

namespace fs = std::filesystem;

void Sandbox::SetUp()
{
    std::string reason;
    ASSERT_TRUE(mountNamespaceIsPrivate(reason)) << "refusing to mount over /etc: " << reason;

    std::string pattern = (fs::temp_directory_path() / "norva-e2e.XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    tempDir_ = pattern;
    // Searchable by others, so that runs under another user reach the copies made for them.
    fs::permissions(tempDir_, fs::perms::others_exec, fs::perm_options::add);
    for (const char* dir : {"upper", "work", "bin", "systemctl"}) {
        fs::create_directory(tempPath(dir));
    }
    mountOrFail("overlay", "/etc", "overlay", 0,
                "lowerdir=/etc,upperdir=" + tempPath("upper") + ",workdir=" + tempPath("work"));
    mountOrFail("tmpfs", "/run/lock", "tmpfs", 0, "mode=1777");
    ASSERT_FALSE(HasFatalFailure());

    systemctl_ = FakeSystemctl(tempPath("systemctl"));
    ASSERT_TRUE(systemctl_.installInto(tempPath("bin")));
    std::error_code ignored;
    fs::remove(kConfigPath, ignored); // a whiteout in the overlay only
    sim({"init", "--root-size", std::to_string(kRootSize), "--vg-free", std::to_string(kVgFree),
         "--boot-used", std::to_string(kBootUsed)});
}

void Sandbox::TearDown()
{
    for (auto mount = mounts_.rbegin(); mount != mounts_.rend(); ++mount) {
        EXPECT_EQ(::umount2(mount->c_str(), 0), 0) << *mount << ": " << std::strerror(errno);
    }
    mounts_.clear();
    if (!tempDir_.empty()) {
        std::error_code ignored;
        fs::remove_all(tempDir_, ignored);
    }
}

void Sandbox::mountOrFail(const char* source, const std::string& target, const char* type,
                          unsigned long flags, const std::string& data)
{
    ASSERT_EQ(::mount(source, target.c_str(), type, flags, data.empty() ? nullptr : data.c_str()),
              0)
        << "mount " << type << " on " << target << ": " << std::strerror(errno);
    mounts_.push_back(target);
}

void Sandbox::makeReadOnly(const std::string& path)
{
    mountOrFail(path.c_str(), path, nullptr, MS_BIND, "");
    ASSERT_EQ(::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0)
        << "read-only remount of " << path << ": " << std::strerror(errno);
}

std::string Sandbox::simState() const
{
    return readWholeFile(tempPath("sim-state")).value_or("");
}

void Sandbox::writeConfig(const std::string& bytes) const
{
    ASSERT_TRUE(writeWholeFile(kConfigPath, bytes));
}

std::optional<std::string> Sandbox::config() const
{
    std::error_code ignored;
    if (!fs::is_regular_file(kConfigPath, ignored)) {
        return std::nullopt;
    }
    return readWholeFile(kConfigPath);
}

void Sandbox::expectRun(const ToolResult& result, const std::string& out, const std::string& err,
                        int status)
{
    EXPECT_EQ(result.out, out) << "standard output";
    EXPECT_EQ(result.err, err) << "standard error";
    EXPECT_EQ(result.status, status) << "exit status";
}
