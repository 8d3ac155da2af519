#include "SimStateFixture.h"

#include <cstdio>

namespace {

class SimCommand : public SimStateFixture {
protected:
    // Runs norva-sim with the fixture's state; its standard output and exit status.
    [[nodiscard]] std::pair<std::string, int> run(const std::string& arguments) const
    {
        const std::string command = "NORVASNAPSHOTS_SIM_STATE='" + statePath_ + "' " +
                                    NORVA_SIM_COMMAND + " " + arguments + " 2>/dev/null";
        std::string output;
        FILE* pipe = ::popen(command.c_str(), "r");
        char buffer[256];
        for (size_t read = 0; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            output.append(buffer, read);
        }
        const int status = ::pclose(pipe);
        return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
};

TEST_F(SimCommand, ShowPrintsSnapshotTableAndVolumeFigures)
{
    ASSERT_EQ(run("init --root-size 10G --vg-free 40G --boot-used 200M").second, 0);
    ASSERT_EQ(run("add --time 2026-12-01T10:00:00 --fill 5"),
              std::make_pair(std::string("1\n"), 0));
    ASSERT_EQ(run("add --time 0 --size 1G").second, 0);
    ASSERT_EQ(run("fail remove_lvm_snapshot 2 --times 3").second, 0);

    const auto [table, status] = run("show");
    EXPECT_EQ(status, 0);
    EXPECT_NE(table.find("1     2026-12-01 10:00:00       10737418240       10.00     5%\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("2     -                          1073741824        1.00     0%\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("VG free space:         31138512896 bytes (29.00 GiB)\n"),
              std::string::npos)
        << table;
    EXPECT_NE(table.find("remove_lvm_snapshot for snapshot 2, next 3 call(s)"), std::string::npos);
    EXPECT_EQ(stateText(), run("show --raw").first);
}

TEST_F(SimCommand, RefusesBadArgumentsWithUsageStatus)
{
    ASSERT_EQ(run("init").second, 0);
    const std::string before = stateText();
    for (const char* bad : {"", "frobnicate", "add --size ten", "add --time 1 --age 2", "set",
                            "fail root_volume_size 1", "fail create_lvm_snapshot --times 0"}) {
        EXPECT_EQ(run(bad).second, 2) << bad;
    }
    EXPECT_EQ(run("add --size 41G").second, 1);
    EXPECT_EQ(stateText(), before);
}

} // namespace
