// How the sandbox runs the tool and the simulator: a clean environment, standard input from
// the test's text, and the outcome read back whole.
#include "ChildProcess.h"
#include "Sandbox.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr auto kDeadline = std::chrono::seconds(30);
const std::string kFakeTimeLibrary = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
const std::string kSetpriv = "/usr/bin/setpriv";

// Copies file into dir (made if need be), both readable and searchable by every user.
bool copyOpenToAll(const std::string& file, const std::string& dir)
{
    constexpr auto kOpen = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                           fs::perms::others_read | fs::perms::others_exec;
    std::error_code error;
    fs::create_directory(dir, error);
    fs::permissions(dir, kOpen, error);
    const fs::path target = fs::path(dir) / fs::path(file).filename();
    fs::copy_file(file, target, fs::copy_options::overwrite_existing, error);
    fs::permissions(target, kOpen, error);
    return !error;
}

} // namespace

std::vector<std::string> Sandbox::environment(const RunOptions& options,
                                              const std::string& libraryDir) const
{
    std::vector<std::string> env = {
        "PATH=" + tempPath("bin") + ":/usr/sbin:/usr/bin:/sbin:/bin",
        "LC_ALL=C",
        "LD_LIBRARY_PATH=" + libraryDir,
        "NORVASNAPSHOTS_SIM_STATE=" + tempPath("sim-state"),
        "FAKE_SYSTEMCTL_DIR=" + systemctl_.stateDir(),
    };
    if (options.fakeTime) {
        env.push_back("LD_PRELOAD=" + kFakeTimeLibrary);
        env.push_back("FAKETIME=@" + *options.fakeTime);
        env.push_back("FAKETIME_DONT_RESET=1");
        env.push_back("TZ=UTC"); // libfaketime reads FAKETIME as local time
    }
    return env;
}

ToolResult Sandbox::runProgram(const std::string& program, const std::vector<std::string>& argv,
                               const std::optional<std::string>& stdinText,
                               const RunOptions& options)
{
    ChildRequest request;
    std::string libraryDir = NORVA_E2E_SIM_LIB_DIR;
    if (options.asNobody) {
        // The build tree may be closed to other users: that user runs copies of ours.
        const std::string copies = tempPath("nobody");
        EXPECT_TRUE(copyOpenToAll(program, copies) &&
                    copyOpenToAll(libraryDir + "/libnorvasnapshots.so.0", copies));
        libraryDir = copies;
        // setpriv execs the program by its path, which then stands in for argv[0].
        request.program = kSetpriv;
        request.argv = {"setpriv",
                        "--reuid=65534",
                        "--regid=65534",
                        "--clear-groups",
                        "--",
                        (fs::path(copies) / fs::path(program).filename()).string()};
        request.argv.insert(request.argv.end(), argv.begin() + 1, argv.end());
    } else {
        request.program = program;
        request.argv = argv;
    }
    request.env = environment(options, libraryDir);
    request.stdinPath = "/dev/null";
    if (stdinText) {
        request.stdinPath = tempPath("stdin-" + std::to_string(++runCount_));
        EXPECT_TRUE(writeWholeFile(request.stdinPath, *stdinText));
    }
    request.stdoutPath = tempPath("stdout");
    request.stderrPath = tempPath("stderr");
    request.mergeStderr = options.mergeStreams;
    request.umask = options.umask;

    const ChildOutcome outcome = runChild(request, kDeadline);
    ToolResult result;
    EXPECT_TRUE(outcome.started) << outcome.problem;
    EXPECT_FALSE(outcome.timedOut) << program << " hung and was killed";
    EXPECT_TRUE(outcome.exited || outcome.timedOut)
        << program << " was killed by signal " << outcome.termSignal;
    result.status = outcome.exited ? outcome.exitStatus : -1;
    result.out = readWholeFile(request.stdoutPath).value_or("");
    result.err = readWholeFile(request.stderrPath).value_or("");
    return result;
}

ToolResult Sandbox::run(const std::vector<std::string>& args,
                        const std::optional<std::string>& stdinText, const RunOptions& options)
{
    // argv[0] is the bare name, so getopt's diagnostics do not depend on the build directory.
    std::vector<std::string> argv = {"norva-snapshots-manager"};
    argv.insert(argv.end(), args.begin(), args.end());
    return runProgram(NORVA_E2E_TOOL, argv, stdinText, options);
}

ToolResult Sandbox::runAsNobody(const std::vector<std::string>& args)
{
    RunOptions options;
    options.asNobody = true;
    return run(args, std::nullopt, options);
}

std::string Sandbox::sim(const std::vector<std::string>& args,
                         const std::optional<std::string>& fakeTime)
{
    std::vector<std::string> argv = {"norva-sim"};
    argv.insert(argv.end(), args.begin(), args.end());
    RunOptions options;
    options.fakeTime = fakeTime;
    const ToolResult result = runProgram(NORVA_E2E_SIM_CLI, argv, std::nullopt, options);
    EXPECT_EQ(result.status, 0) << "norva-sim " << testing::PrintToString(args) << ": "
                                << result.err;
    return result.out;
}
