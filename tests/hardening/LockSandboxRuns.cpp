// How the sandbox starts the tool and the simulator's command and collects what they left.
#include "LockSandbox.h"
#include "SandboxFiles.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& words)
{
    std::vector<char*> pointers;
    for (std::string& word : words) {
        pointers.push_back(word.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

std::vector<std::string> LockSandbox::environment() const
{
    return {"PATH=" + path("bin") + ":/usr/sbin:/usr/bin:/sbin:/bin", "LC_ALL=C",
            "LD_LIBRARY_PATH=" NORVA_HARDENING_SIM_LIB_DIR,
            "NORVASNAPSHOTS_SIM_STATE=" + path("sim-state"),
            "FAKE_SYSTEMCTL_DIR=" + path("systemctl")};
}

pid_t LockSandbox::spawn(const std::string& program, const std::vector<std::string>& argv,
                         const std::string& input, std::array<int, 2> gate)
{
    const int run = ++runs_;
    const std::string base = path("run-" + std::to_string(run));
    writeFile(base + ".in", input);
    std::vector<std::string> args = argv;
    std::vector<std::string> env = environment();
    const pid_t child = ::fork();
    if (child == 0) {
        const int in = ::open((base + ".in").c_str(), O_RDONLY);
        const int out = ::open((base + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open((base + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0) {
            ::_exit(126);
        }
        if (gate[1] >= 0) {
            ::close(gate[1]);
        }
        char byte = 0;
        while (gate[0] >= 0 && ::read(gate[0], &byte, 1) < 0 && errno == EINTR) {
        }
        ::execve(program.c_str(), pointersTo(args).data(), pointersTo(env).data());
        ::_exit(127);
    }
    EXPECT_GT(child, 0) << "fork: " << std::strerror(errno);
    runOf_[child] = run;
    return child;
}

pid_t LockSandbox::start(const std::vector<std::string>& args, const std::string& input)
{
    std::vector<std::string> argv = {"norva-snapshots-manager"};
    argv.insert(argv.end(), args.begin(), args.end());
    return spawn(NORVA_HARDENING_TOOL, argv, input);
}

std::vector<pid_t> LockSandbox::startTogether(const std::vector<std::vector<std::string>>& runs)
{
    std::array<int, 2> gate = {-1, -1};
    EXPECT_EQ(::pipe2(gate.data(), O_CLOEXEC), 0) << std::strerror(errno);
    std::vector<pid_t> children;
    for (const auto& args : runs) {
        std::vector<std::string> argv = {"norva-snapshots-manager"};
        argv.insert(argv.end(), args.begin(), args.end());
        children.push_back(spawn(NORVA_HARDENING_TOOL, argv, "", gate));
    }
    ::close(gate[0]);
    ::close(gate[1]);
    return children;
}

ToolRun LockSandbox::finish(pid_t child)
{
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    const std::string base = path("run-" + std::to_string(runOf_[child]));
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, false, readFile(base + ".out"),
            readFile(base + ".err")};
}

ToolRun LockSandbox::finishWithin(pid_t child, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= end) {
            ::kill(child, SIGKILL);
            ToolRun killed = finish(child);
            killed.hung = true;
            return killed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::string base = path("run-" + std::to_string(runOf_[child]));
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, false, readFile(base + ".out"),
            readFile(base + ".err")};
}

bool LockSandbox::hasLockFileOpen(pid_t child) const
{
    const std::string fds = "/proc/" + std::to_string(child) + "/fd";
    std::error_code error;
    for (fs::directory_iterator entry(fds, error), end; !error && entry != end; ++entry) {
        if (linkTarget(entry->path().string()) == kLockPath) {
            return true;
        }
    }
    return false;
}

std::string LockSandbox::sim(const std::vector<std::string>& args)
{
    std::vector<std::string> argv = {"norva-sim"};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t child = spawn(NORVA_HARDENING_SIM_CLI, argv, "");
    const ToolRun result = finish(child);
    EXPECT_EQ(result.status, 0) << "norva-sim: " << result.err;
    return result.out;
}
