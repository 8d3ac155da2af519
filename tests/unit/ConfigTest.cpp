// SPDX-License-Identifier: GPL-2.0-or-later
// The configuration text as read and written, how it is saved, and the run lock. The answers at
// the prompts are the end-to-end table's.
#include "World.h"
#include "automation/CommandLine.h"
#include "automation/RunLock.h"
#include "automation/Systemctl.h"
#include "config/ConfigFile.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TEST(ConfigText, ReadsEachKeyOnItsOwnAndAnythingElseAsZero)
{
    const struct {
        const char* text;
        ScriptConfig config;
    } rows[] = {
        {R"({"script":2,"lifetime":7,"quantity":0,"size":0})", {2, 7, 0, 0}},
        {"{\n \"size\": 18446744073709551615,\"quantity\":4,\n\"script\":5,\"lifetime\":3}",
         {5, 3, 4, 0}}, // above int64: 0
        {R"({"size":9223372036854775807,"script":5})", {5, 0, 0, 9223372036854775807U}},
        {R"({"script":-1,"lifetime":-2,"size":-1})", {-1, -2, 0, UINT64_MAX}},
        {R"({"script":4294967297,"note":"kept low 32 bits"})", {1, 0, 0, 0}},
        {R"({"script":"3","lifetime":3.0,"quantity":3e0,"size":true})", {}},
        {R"({"script":null,"lifetime":[3],"quantity":{"n":3}})", {}},
        {R"([{"script":3}])", {}},
        {R"({"script":3,})", {}},
        {R"({"script":3}{"script":3})", {}},
        {"{\"script\":3} // chosen by hand", {}},
        {"\xef\xbb\xbf{\"script\":3}", {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(parseConfig(std::string_view(row.text)), row.config) << row.text;
    }
    EXPECT_EQ(serializeConfig({5, 3, 4, UINT64_MAX}),
              "{\"script\":5,\"lifetime\":3,\"quantity\":4,\"size\":18446744073709551615}\n");
}

namespace {
std::vector<std::string>* fileCalls = nullptr; // while set, fsync and rename are written down
}

extern "C" int fsync(int fd)
{
    if (fileCalls != nullptr) {
        fileCalls->push_back(
            "fsync " +
            std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)).string());
    }
    return reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"))(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    if (fileCalls != nullptr) {
        fileCalls->push_back(std::string("rename ") + from + " " + to);
    }
    return reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"))(from,
                                                                                             to);
}

// The new text is on the disk before it takes the file's name, and the directory after; a
// running writer's temporary file is its own, one of a writer that ended is a leftover.
TEST_F(World, ASaveIsFlushedBeforeItReplacesTheFileAndLeavesOthersTheirs)
{
    std::string noProcess; // pids stay below pid_max
    std::ifstream("/proc/sys/kernel/pid_max") >> noProcess;
    const std::string leftover = dir_ + "/.norva-snapshots-manager." + noProcess + ".Ab3dEf";
    const std::string running =
        dir_ + "/.norva-snapshots-manager." + std::to_string(::getppid()) + ".Ab3dEf";
    std::ofstream(leftover) << "left by a writer killed";
    std::ofstream(running) << "being written by another writer";
    std::vector<std::string> calls;
    fileCalls = &calls;
    EXPECT_TRUE(saveConfig({2, 7, 0, 0}));
    fileCalls = nullptr;
    ASSERT_FALSE(calls.empty());
    const std::string temporary = calls[0].substr(std::string("fsync ").size());
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync " + temporary,
                                               "rename " + temporary + " " + configPath,
                                               "fsync " + dir_}));
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_TRUE(std::filesystem::exists(running));
}

// Runs one at a time: a second take waits, then gives up; the lock is exclusive (a shared one
// would let this process take it twice), no child inherits it (the fake systemctl writes down
// what it has open), and neither a symlink nor a file of another user planted in its place, to a
// file someone holds, is taken for it.
TEST_F(World, RunLockLetsOneRunAtATime)
{
    const std::string path = dir_ + "/run.lock";
    std::optional<RunLock> held = RunLock::acquire(path.c_str(), std::chrono::milliseconds(0));
    ASSERT_TRUE(held);
    EXPECT_FALSE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(300)));
    std::ofstream(dir_ + "/systemctl/fds");
    EXPECT_EQ(runCommandLine(systemctl::kIsActive), 0);
    EXPECT_EQ(read(dir_ + "/systemctl/fds").find(path), std::string::npos);
    held.reset();
    EXPECT_TRUE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(0)));
    std::filesystem::remove(path);
    std::filesystem::create_symlink(configPath, path);
    const int planted = ::open(configPath.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(planted, LOCK_EX), 0);
    EXPECT_TRUE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(0)));
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    std::filesystem::remove(path);
    ASSERT_EQ(::fchown(planted, 65534, 65534), 0);
    std::filesystem::create_hard_link(configPath, path);
    EXPECT_TRUE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(0)));
    ::close(planted);
}
