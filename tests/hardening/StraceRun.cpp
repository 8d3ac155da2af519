#include "StraceRun.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The writer calls getppid() right before it saves and right after, and nothing else does.
constexpr const char* kMarker = "getppid";

std::vector<std::string> writerArguments(const WriterCommand& command)
{
    const ScriptConfig& record = command.record;
    return {NORVA_CONFIG_WRITER,
            command.file,
            std::to_string(record.script),
            std::to_string(record.lifetime),
            std::to_string(record.quantity),
            std::to_string(record.snapshotSize)};
}

// Runs strace with `options` on the writer, its output discarded; the wait status.
int runStrace(const std::vector<std::string>& options, const WriterCommand& command)
{
    std::vector<std::string> words = {NORVA_STRACE, "-qq"};
    words.insert(words.end(), options.begin(), options.end());
    const auto writer = writerArguments(command);
    words.insert(words.end(), writer.begin(), writer.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, 1);
        ::dup2(null, 2);
        // A sanitizer build's leak check cannot trace a process that strace already traces.
        ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::string syscallName(const std::string& line)
{
    const auto open = line.find('(');
    if (open == std::string::npos || open == 0) {
        return {};
    }
    const std::string name = line.substr(0, open);
    return name.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_") == std::string::npos
               ? name
               : std::string();
}

} // namespace

std::vector<SyscallStep> saveSteps(const WriterCommand& command)
{
    const std::string log = command.file + ".strace";
    const int status = runStrace({"-o", log}, command);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the plain save failed";
    std::ifstream in(log);
    std::map<std::string, size_t> seen;
    std::vector<SyscallStep> steps;
    size_t markers = 0;
    for (std::string line; std::getline(in, line) && markers < 2;) {
        const std::string name = syscallName(line);
        if (name.empty()) {
            continue;
        }
        const size_t occurrence = ++seen[name];
        if (name == kMarker) {
            ++markers;
        } else if (markers == 1) {
            steps.push_back({name, occurrence});
        }
    }
    EXPECT_EQ(markers, 2U) << "the writer's markers are missing from the trace";
    ::unlink(log.c_str());
    return steps;
}

WriterOutcome runInterrupted(const WriterCommand& command, const SyscallStep& step,
                             Interruption how)
{
    const std::string action = how == Interruption::Kill ? "signal=KILL" : "error=EIO";
    const std::string filter =
        "inject=" + step.name + ":" + action + ":when=" + std::to_string(step.occurrence);
    const int status =
        runStrace({"-o", "/dev/null", "-e", "trace=" + step.name, "-e", filter}, command);
    WriterOutcome outcome;
    outcome.exited = WIFEXITED(status) && (WEXITSTATUS(status) == 0 || WEXITSTATUS(status) == 3);
    outcome.reportedSuccess = outcome.exited && WEXITSTATUS(status) == 0;
    return outcome;
}

std::string describe(const SyscallStep& step, Interruption how)
{
    return std::string(how == Interruption::Kill ? "killed entering " : "EIO from ") + step.name +
           " #" + std::to_string(step.occurrence);
}
