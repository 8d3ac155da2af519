// How a launch writes the configuration file: in place, so that a symbolic link and an
// existing file's mode survive; a new file's mode comes from the umask alone; a file that
// cannot be opened for writing is left as it was and the launch fails.
#include "ChildProcess.h"
#include "Sandbox.h"
#include "ToolTexts.h"

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string kOldFile = "{\"script\":1,\"lifetime\":0,\"quantity\":0,\"size\":0}\n";
const std::string kNewFile = "{\"script\":2,\"lifetime\":7,\"quantity\":0,\"size\":0}\n";
const std::string kLaunchLifetimeSeven = "7\n";

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

struct UmaskCase {
    mode_t umask;
    mode_t mode;
};

std::string octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode));
    return text;
}

void PrintTo(const UmaskCase& c, std::ostream* os)
{
    *os << "umask " << octal(c.umask) << ", mode " << octal(c.mode);
}

class NewConfigurationFile : public Sandbox, public testing::WithParamInterface<UmaskCase> {};

TEST_P(NewConfigurationFile, GetsModeFromUmaskAlone)
{
    RunOptions options;
    options.umask = GetParam().umask;

    expectRun(run({"-s2"}, kLaunchLifetimeSeven, options), kAskLifetime + kLaunched, "", 0);

    EXPECT_EQ(config(), kNewFile);
    EXPECT_EQ(modeOf(kConfigPath), GetParam().mode);
}

INSTANTIATE_TEST_SUITE_P(Umasks, NewConfigurationFile,
                         testing::Values(UmaskCase{0022, 0644}, UmaskCase{0077, 0600},
                                         UmaskCase{0, 0666}, UmaskCase{0027, 0640}),
                         [](const auto& row) { return "Umask" + octal(row.param.umask); });

using ConfigurationRewrite = Sandbox;

TEST_F(ConfigurationRewrite, KeepsExistingFileMode)
{
    writeConfig(kOldFile);
    fs::permissions(kConfigPath, fs::perms::owner_read | fs::perms::owner_write);
    RunOptions options;
    options.umask = 0022;

    expectRun(run({"-s2"}, kLaunchLifetimeSeven, options), kAskLifetime + kLaunched, "", 0);

    EXPECT_EQ(config(), kNewFile);
    EXPECT_EQ(modeOf(kConfigPath), 0600);
}

TEST_F(ConfigurationRewrite, WritesThroughSymbolicLink)
{
    const std::string target = "/etc/norva-snapshots-manager.d-target.conf";
    ASSERT_TRUE(writeWholeFile(target, kOldFile));
    fs::create_symlink("norva-snapshots-manager.d-target.conf", kConfigPath);

    expectRun(run({"-s2"}, kLaunchLifetimeSeven), kAskLifetime + kLaunched, "", 0);

    EXPECT_TRUE(fs::is_symlink(kConfigPath)) << "the link must not be replaced by a file";
    EXPECT_EQ(fs::read_symlink(kConfigPath), "norva-snapshots-manager.d-target.conf");
    EXPECT_EQ(readWholeFile(target), kNewFile);
}

// The open for writing fails; what is at the path stays, and the timer is not started.
class UnwritableConfiguration : public Sandbox {
protected:
    void expectFailedLaunchTouchingNoTimer()
    {
        expectRun(run({"-s2"}, kLaunchLifetimeSeven), kAskLifetime + kUsage, kLaunchError, 1);
        const std::vector<std::string> stopOnly = {kIsActive, kIsEnabled};
        EXPECT_EQ(systemctl().calls(), stopOnly);
        EXPECT_FALSE(systemctl().timerActive());
        EXPECT_FALSE(systemctl().timerEnabled());
        EXPECT_TRUE(simView().snapshots.empty());
    }
};

TEST_F(UnwritableConfiguration, DirectoryAtPathFailsLaunch)
{
    fs::create_directory(kConfigPath);

    expectFailedLaunchTouchingNoTimer();

    EXPECT_TRUE(fs::is_directory(kConfigPath));
    EXPECT_TRUE(fs::is_empty(kConfigPath));
}

TEST_F(UnwritableConfiguration, ReadOnlyFileKeepsOldContent)
{
    writeConfig(kOldFile);
    makeReadOnly(kConfigPath);
    ASSERT_FALSE(HasFatalFailure());

    expectFailedLaunchTouchingNoTimer();

    EXPECT_EQ(config(), kOldFile);
}

} // namespace
