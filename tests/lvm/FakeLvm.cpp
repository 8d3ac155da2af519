// A stand-in for lvm in the library's tests. It lives (as a link named lvm) in a directory of
// its own, which holds its state (see FakeLvmState.h), and it answers lvs, lvcreate, lvresize,
// lvchange and lvremove as LVM 2.03 does for classic snapshots, from that state.
//
// Every call appends one JSON line to calls.log: the argument vector, the environment, the
// descriptors it found open and where its standard input came from. A file fail-<command>
// makes that command fail: its first line is the exit status, the rest goes to stderr. A file
// lvs.json is printed instead of the report from the state (canned answers).
#include "FakeLvmCommands.h"
#include "FakeLvmState.h"

#include <algorithm>
#include <boost/json/serialize.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

[[nodiscard]] boost::json::array openDescriptors()
{
    boost::json::array fds;
    for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        fds.push_back(boost::json::string(entry.path().filename().string()));
    }
    return fds;
}

void record(const std::string& dir, const std::vector<std::string>& args)
{
    boost::json::array argv;
    for (const auto& arg : args) {
        argv.push_back(boost::json::string(arg));
    }
    boost::json::array env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        env.push_back(boost::json::string(*entry));
    }
    std::error_code error;
    const std::string stdinTarget = fs::read_symlink("/proc/self/fd/0", error).string();
    boost::json::object line{
        {"argv", argv}, {"env", env}, {"fds", openDescriptors()}, {"stdin", stdinTarget}};
    std::ofstream(dir + "/calls.log", std::ios::app) << boost::json::serialize(line) << "\n";
}

// A failure the test asked for: exits with its status and message.
void failIfTold(const std::string& dir, const std::string& command)
{
    std::ifstream file(dir + "/fail-" + command);
    if (!file) {
        return;
    }
    int status = 5;
    file >> status;
    file.ignore();
    std::ostringstream message;
    message << file.rdbuf();
    std::cerr << message.str();
    std::exit(status);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv, argv + argc);
    const std::string dir = fs::path(args[0]).parent_path().string();
    record(dir, args);
    if (args.size() < 3) {
        return fakeFailure("fake lvm: no command", 3);
    }
    const std::string& command = args[1];
    failIfTold(dir, command);
    FakeLvmState state(dir);
    if (!state.load()) {
        return fakeFailure("fake lvm: no state", 5);
    }
    if (command == "lvs") {
        std::ifstream canned(dir + "/lvs.json");
        if (canned) {
            std::cout << canned.rdbuf();
        } else {
            std::cout << state.report();
        }
        return 0;
    }
    using Handler = int (*)(FakeLvmState&, const std::vector<std::string>&);
    const std::pair<const char*, Handler> handlers[] = {{"lvcreate", fakeCreate},
                                                        {"lvresize", fakeResize},
                                                        {"lvchange", fakeRetag},
                                                        {"lvremove", fakeRemove}};
    for (const auto& [name, handler] : handlers) {
        if (command == name) {
            const int status = handler(state, args);
            if (status == 0) {
                state.save();
            }
            return status;
        }
    }
    return fakeFailure("fake lvm: unknown command " + command, 3);
}
