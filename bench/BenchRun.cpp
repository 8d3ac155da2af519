// SPDX-License-Identifier: GPL-2.0-or-later
#include "BenchRun.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfigPath = "/etc/norva-snapshots-manager.conf";
constexpr const char* kVgUuid = "RHRvMSfB9KCNFBWIyjngS1z43Guu3uuX";
constexpr const char* kRootUuid = "3PufEbON5BA6GNxx29RaNfawkbuoC1Ak";

// The fake lvm's state (tests/lvm/fake-lvm): the VG, the root and the scenario's snapshots.
[[nodiscard]] std::string lvmState(const BenchScenario& scenario)
{
    const uint64_t now = static_cast<uint64_t>(std::time(nullptr));
    std::ostringstream state;
    state << "vg vg " << kVgUuid << " " << kBenchExtent << " " << kBenchVgExtents << " 0\nlv root "
          << kRootUuid << " " << kBenchRootExtents << " - 1796540000 - - 1 -\n";
    uint64_t sequence = 0;
    for (const BenchSnapshot& snapshot : scenario.snapshots) {
        ++sequence;
        state << "lv " << snapshot.name << " SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS" << sequence % 10
              << " " << snapshot.extents << " " << kRootUuid << " " << now - snapshot.ageSeconds
              << " 3.00 - 1 norvasnap,norvasnap_size_" << snapshot.askedSize << ",norvasnap_seq_"
              << sequence << "\n";
    }
    return state.str();
}

void makeMachine(const fs::path& dir, const BenchPaths& paths, const BenchScenario& scenario)
{
    fs::create_symlink(paths.fakeLvm, dir / "lvm");
    std::ofstream(dir / "state") << lvmState(scenario);
    std::ofstream(dir / "mountinfo") << "39 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n";
    fs::create_directories(dir / "sys/dev/block/253:0/dm");
    std::ofstream(dir / "sys/dev/block/253:0/dm/name") << "vg-root\n";
    std::ofstream(dir / "sys/dev/block/253:0/dm/uuid") << "LVM-" << kVgUuid << kRootUuid << "\n";
    // /boot: a small file system of its own, as on most machines; the host's /tmp may hold
    // more than the VG has free, and then no additional snapshot is ever made.
    fs::create_directories(dir / "boot");
    (void)::mount("tmpfs", (dir / "boot").c_str(), "tmpfs", 0, "size=64m");
    // The kit's fake systemctl keeps the timer's state here: every run starts with it stopped.
    fs::create_directories(dir / "systemctl");
    std::error_code ignored;
    fs::remove(kConfigPath, ignored);
    if (!scenario.config.empty()) {
        std::ofstream(kConfigPath) << scenario.config;
    }
}

[[nodiscard]] pid_t startTool(const fs::path& dir, const BenchPaths& paths,
                              const BenchScenario& scenario)
{
    std::ofstream(dir / "input") << scenario.input;
    // The child must not write out what the table has buffered so far.
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid != 0) {
        return pid;
    }
    // PATH is the sandbox's, with the kit's fake systemctl first.
    const char* path = std::getenv("PATH");
    std::vector<std::string> env{"PATH=" + std::string(path != nullptr ? path : ""),
                                 "FAKE_SYSTEMCTL_DIR=" + (dir / "systemctl").string(),
                                 "LC_ALL=C",
                                 "LD_LIBRARY_PATH=" + paths.libraryDir,
                                 "LD_PRELOAD=" + paths.counter,
                                 "NORVA_BENCH_DIR=" + dir.string(),
                                 "NORVA_BENCH_RECORD=" + (dir / "record").string()};
    std::vector<std::string> args{paths.tool};
    args.insert(args.end(), scenario.args.begin(), scenario.args.end());
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (auto& arg : args) {
        argv.push_back(arg.data());
    }
    for (auto& entry : env) {
        envp.push_back(entry.data());
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    (void)std::freopen((dir / "input").c_str(), "r", stdin);
    (void)std::freopen("/dev/null", "w", stdout);
    (void)std::freopen("/dev/null", "w", stderr);
    ::execve(paths.tool.c_str(), argv.data(), envp.data());
    ::_exit(127);
}

void readRecords(const fs::path& dir, pid_t pid, BenchMeasure& measure)
{
    std::ifstream calls(dir / "calls");
    for (std::string line; std::getline(calls, line);) {
        const std::string command = line.substr(0, line.find('\t'));
        ++measure.lvmCommands[command];
        ++measure.lvmProcesses;
    }
    std::ifstream record(dir / "record");
    long recordPid = 0;
    unsigned long calls2 = 0;
    long micros = 0;
    long kib = 0;
    while (record >> recordPid >> calls2 >> micros >> kib) {
        if (recordPid == pid) {
            measure.libraryCalls = calls2;
            measure.toolCpuMs = static_cast<double>(micros) / 1000.0;
            measure.toolPeakKiB = kib;
        }
    }
}

} // namespace

BenchMeasure runScenario(const BenchPaths& paths, const BenchScenario& scenario)
{
    std::string pattern = (fs::temp_directory_path() / "norva-bench-XXXXXX").string();
    BenchMeasure measure;
    if (::mkdtemp(pattern.data()) == nullptr) {
        return measure;
    }
    const fs::path dir = pattern;
    makeMachine(dir, paths, scenario);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = startTool(dir, paths, scenario);
    int status = 0;
    (void)::waitpid(pid, &status, 0);
    measure.wallMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    measure.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    readRecords(dir, pid, measure);
    (void)::umount((dir / "boot").c_str());
    fs::remove_all(dir);
    return measure;
}
