#pragma once

#include "FakeSystemctl.h"
#include "SimView.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// What one run of the tool left behind, byte for byte.
struct ToolResult {
    std::string out;
    std::string err;
    int status = -1; // the exit status; -1 when the tool did not exit normally
};

struct RunOptions {
    // Simulated wall clock for the tool and the snapshot library, "YYYY-MM-DD hh:mm:ss".
    std::optional<std::string> fakeTime;
    std::optional<mode_t> umask;
    bool asNobody = false;     // run under uid and gid 65534 with no supplementary groups
    bool mergeStreams = false; // standard error into standard output, to see their order
};

inline const std::string kConfigPath = "/etc/norva-snapshots-manager.conf";

// The simulated volume every test starts from: no snapshots yet.
inline constexpr uint64_t kGiB = 1024ULL * 1024ULL * 1024ULL;
inline constexpr uint64_t kRootSize = 10 * kGiB;
inline constexpr uint64_t kVgFree = 40 * kGiB;
inline constexpr uint64_t kBootUsed = kGiB / 4;

// Names a parameterised test after the row's `name` field.
struct CaseName {
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row>& row) const
    {
        return row.param.name;
    }
};

// Runs the real tool as root against a private copy of the system: /etc is an overlay whose
// changes land in a temporary directory, /run/lock is a fresh tmpfs, systemctl is a fake and
// the snapshot library is the simulated one. Refuses to work outside a private mount
// namespace, so the machine's own /etc can never be written.
class Sandbox : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ToolResult run(const std::vector<std::string>& args,
                   const std::optional<std::string>& stdinText = std::nullopt,
                   const RunOptions& options = {});
    ToolResult runAsNobody(const std::vector<std::string>& args);
    // Runs the simulator's command line on this test's state; fails the test when it fails.
    std::string sim(const std::vector<std::string>& args,
                    const std::optional<std::string>& fakeTime = std::nullopt);
    // The state file's bytes, to show that a run left the snapshots alone.
    [[nodiscard]] std::string simState() const;
    [[nodiscard]] SimView simView() { return parseSimView(sim({"show", "--raw"})); }

    void writeConfig(const std::string& bytes) const;
    [[nodiscard]] std::optional<std::string> config() const;
    // Bind-mounts path onto itself read-only; undone at teardown.
    void makeReadOnly(const std::string& path);

    [[nodiscard]] const FakeSystemctl& systemctl() const { return systemctl_; }
    [[nodiscard]] std::string tempPath(const std::string& name) const
    {
        return tempDir_ + "/" + name;
    }

    static void expectRun(const ToolResult& result, const std::string& out, const std::string& err,
                          int status);

private:
    [[nodiscard]] std::vector<std::string> environment(const RunOptions& options,
                                                       const std::string& libraryDir) const;
    ToolResult runProgram(const std::string& program, const std::vector<std::string>& argv,
                          const std::optional<std::string>& stdinText, const RunOptions& options);
    void mountOrFail(const char* source, const std::string& target, const char* type,
                     unsigned long flags, const std::string& data);

    std::string tempDir_;
    std::vector<std::string> mounts_; // unmounted in reverse order
    FakeSystemctl systemctl_;
    int runCount_ = 0;
};
