// SPDX-License-Identifier: LGPL-2.1-or-later
#include "ProgramRunner.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Closes a descriptor once; -1 means closed.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    void reset()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = -1;
    }
    [[nodiscard]] int get() const { return fd_; }

private:
    int fd_;
};

struct SpawnActions {
    posix_spawn_file_actions_t actions{};
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
};

[[nodiscard]] std::vector<char*> pointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Reads both pipes until both are at end of file; reading them together keeps a child that
// writes much to one of them from blocking on the other.
void drain(int outFd, int errFd, ProgramResult& result)
{
    std::array<pollfd, 2> fds{pollfd{outFd, POLLIN, 0}, pollfd{errFd, POLLIN, 0}};
    std::array<std::string*, 2> sinks{&result.out, &result.err};
    std::array<char, 65536> buffer{};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            const ssize_t count = ::read(fds[i].fd, buffer.data(), buffer.size());
            if (count > 0) {
                sinks[i]->append(buffer.data(), static_cast<size_t>(count));
            } else if (count == 0 || errno != EINTR) {
                fds[i].fd = -1;
            }
        }
    }
}

[[nodiscard]] int waitFor(pid_t pid, std::string& failure)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            failure = std::string("waitpid: ") + std::strerror(errno);
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::vector<std::string>& environment)
{
    ProgramResult result;
    std::array<int, 2> outPipe{-1, -1};
    std::array<int, 2> errPipe{-1, -1};
    if (::pipe2(outPipe.data(), O_CLOEXEC) != 0) {
        result.failure = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    Descriptor outRead(outPipe[0]);
    Descriptor outWrite(outPipe[1]);
    if (::pipe2(errPipe.data(), O_CLOEXEC) != 0) {
        result.failure = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    Descriptor errRead(errPipe[0]);
    Descriptor errWrite(errPipe[1]);

    SpawnActions spawn;
    posix_spawn_file_actions_addopen(&spawn.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&spawn.actions, outWrite.get(), 1);
    posix_spawn_file_actions_adddup2(&spawn.actions, errWrite.get(), 2);
    // Whatever the calling program left open without close-on-exec stays out of lvm.
    posix_spawn_file_actions_addclosefrom_np(&spawn.actions, 3);

    std::vector<std::string> argv = args;
    std::vector<std::string> envp = environment;
    const std::vector<char*> argvPointers = pointersTo(argv);
    const std::vector<char*> envPointers = pointersTo(envp);
    pid_t pid = 0;
    const int error = ::posix_spawn(&pid, program.c_str(), &spawn.actions, nullptr,
                                    argvPointers.data(), envPointers.data());
    outWrite.reset();
    errWrite.reset();
    if (error != 0) {
        result.failure = "cannot run " + program + ": " + std::strerror(error);
        return result;
    }
    result.started = true;
    drain(outRead.get(), errRead.get(), result);
    result.status = waitFor(pid, result.failure);
    return result;
}
