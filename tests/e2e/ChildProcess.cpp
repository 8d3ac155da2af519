#include "ChildProcess.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<char*> pointerArray(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (auto& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

bool bindStream(const std::string& path, int flags, int targetFd)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    // dup2 clears close-on-exec on the new descriptor.
    const bool bound = ::dup2(fd, targetFd) == targetFd;
    ::close(fd);
    return bound;
}

// Runs in the forked child only: binds the streams and execs; reports errno through the pipe.
[[noreturn]] void becomeChild(const ChildRequest& request, char* const* argv, char* const* envp,
                              int errorPipe)
{
    if (request.umask) {
        ::umask(*request.umask);
    }
    const int outFlags = O_WRONLY | O_CREAT | O_TRUNC;
    const bool bound =
        bindStream(request.stdinPath, O_RDONLY, STDIN_FILENO) &&
        bindStream(request.stdoutPath, outFlags, STDOUT_FILENO) &&
        (request.mergeStderr ? ::dup2(STDOUT_FILENO, STDERR_FILENO) == STDERR_FILENO
                             : bindStream(request.stderrPath, outFlags, STDERR_FILENO));
    if (bound) {
        ::execve(request.program.c_str(), argv, envp);
    }
    const int error = errno;
    [[maybe_unused]] const auto written = ::write(errorPipe, &error, sizeof error);
    ::_exit(127);
}

void waitWithDeadline(pid_t pid, std::chrono::milliseconds deadline, ChildOutcome& outcome)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            break;
        }
        if (done < 0 && errno != EINTR) {
            outcome.problem = std::string("waitpid: ") + std::strerror(errno);
            return;
        }
        if (std::chrono::steady_clock::now() >= end) {
            outcome.timedOut = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    outcome.exited = WIFEXITED(status);
    outcome.exitStatus = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.termSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

} // namespace

ChildOutcome runChild(const ChildRequest& request, std::chrono::milliseconds deadline)
{
    ChildOutcome outcome;
    auto argvStrings = request.argv;
    auto envStrings = request.env;
    const auto argv = pointerArray(argvStrings);
    const auto envp = pointerArray(envStrings);

    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        outcome.problem = "pipe2 failed";
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        outcome.problem = "fork failed";
        return outcome;
    }
    if (pid == 0) {
        ::close(errorPipe[0]);
        becomeChild(request, argv.data(), envp.data(), errorPipe[1]);
    }
    ::close(errorPipe[1]);
    int childError = 0;
    const auto got = ::read(errorPipe[0], &childError, sizeof childError);
    ::close(errorPipe[0]);
    if (got == static_cast<ssize_t>(sizeof childError)) {
        outcome.problem = request.program + ": " + std::strerror(childError);
        ::waitpid(pid, nullptr, 0);
        return outcome;
    }
    outcome.started = true;
    waitWithDeadline(pid, deadline, outcome);
    return outcome;
}

std::optional<std::string> readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool writeWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    return static_cast<bool>(out);
}
