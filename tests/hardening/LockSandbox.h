#pragma once

#include <array>
#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// What one run of the tool left behind.
struct ToolRun {
    int status = -1;   // exit status; -1 when it did not exit normally
    bool hung = false; // killed at the deadline
    std::string out;
    std::string err;
};

// Runs the real tool as root, several at a time if need be, against a private copy of the
// system: /etc is an overlay whose changes land in a temporary directory, /run/lock is a fresh
// tmpfs, systemctl is a fake and the snapshot library is the simulated one. Refuses to work
// outside a mount namespace of its own, so the machine's /etc and lock files stay untouched.
class LockSandbox : public ::testing::Test {
protected:
    static constexpr const char* kLockPath = "/run/lock/norva-snapshots-manager.lock";
    static constexpr const char* kConfigPath = "/etc/norva-snapshots-manager.conf";

    void SetUp() override;
    void TearDown() override;

    // Starts the tool with `args` and `input` on its standard input; finish() waits for it.
    pid_t start(const std::vector<std::string>& args, const std::string& input = "");
    ToolRun finish(pid_t child);
    // The same, killing the child when it has not ended after `deadline`.
    ToolRun finishWithin(pid_t child, std::chrono::milliseconds deadline);
    // Starts one run per entry of `runs`, all released at the same moment.
    std::vector<pid_t> startTogether(const std::vector<std::vector<std::string>>& runs);
    ToolRun run(const std::vector<std::string>& args, const std::string& input = "")
    {
        return finish(start(args, input));
    }
    // True once the child has the lock file open, that is, waits for it or holds it.
    [[nodiscard]] bool hasLockFileOpen(pid_t child) const;

    // norva-sim on this sandbox's state; its standard output.
    std::string sim(const std::vector<std::string>& args);
    [[nodiscard]] std::string simState() const;
    void setSimState(const std::string& text) const;

    void writeConfig(const std::string& text) const;
    [[nodiscard]] std::optional<std::string> config() const;
    [[nodiscard]] std::string systemctlLog() const;
    void setTimer(bool active, bool enabled) const;
    [[nodiscard]] bool timerActive() const;

    // Takes the run lock as another run would; released by releaseLock() or at teardown.
    void holdLock();
    void releaseLock();

private:
    [[nodiscard]] std::string path(const std::string& name) const
    {
        return directory_ + "/" + name;
    }
    [[nodiscard]] std::vector<std::string> environment() const;
    // `gate`: a pipe whose write end the child closes and whose read end it waits on until
    // every write end is closed; {-1, -1} for none.
    pid_t spawn(const std::string& program, const std::vector<std::string>& argv,
                const std::string& input, std::array<int, 2> gate = {-1, -1});
    void mountOrFail(const char* source, const char* target, const char* type,
                     const std::string& data);

    std::string directory_;
    std::vector<std::string> mounts_;
    int lockFd_ = -1;
    int runs_ = 0;
    std::map<pid_t, int> runOf_; // which output files a child writes
};
