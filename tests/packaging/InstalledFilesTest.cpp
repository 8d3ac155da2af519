// `cmake --install` of this build into a writable copy of the machine: exactly the tool, its
// units, manual page, completion and catalogues (and the real snapshot library where it is
// built) land there, never the simulated library, and systemd accepts the units as installed.

#include "Shell.h"
#include "SystemCopy.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

const std::string kUnitDir = NORVA_UNIT_DIR;
const std::string kTimer = kUnitDir + "/norva-snapshots.timer";
const std::string kService = kUnitDir + "/norva-snapshots.service";

class InstalledFiles : public ::testing::Test {
protected:
    // One installation serves every test of the suite.
    static void SetUpTestSuite()
    {
        copy_ = std::make_unique<SystemCopy>();
        if (!copy_->ready()) {
            return;
        }
        installed_ =
            runShell("DESTDIR=" + shellQuote(copy_->root()) + " " + shellQuote(NORVA_CMAKE) +
                     " --install " + shellQuote(NORVA_BUILD_DIR) + " >/dev/null");
        // The overlay's upper layer holds exactly what the installation wrote.
        files_ = splitLines(runShell("cd " + shellQuote(copy_->root() + "/../upper") +
                                     " && find . ! -type d | "
                                     "sed 's/^\\.//' | sort")
                                .out);
    }
    static void TearDownTestSuite() { copy_.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(copy_->ready()) << copy_->problem();
        ASSERT_EQ(installed_.status, 0) << installed_.err;
    }

    [[nodiscard]] static bool installed(const std::string& path)
    {
        return std::find(files_.begin(), files_.end(), path) != files_.end();
    }

    [[nodiscard]] static ShellResult inside(const std::string& script)
    {
        return copy_->inside(script);
    }

    static std::unique_ptr<SystemCopy> copy_;
    static ShellResult installed_;
    static std::vector<std::string> files_;
};

std::unique_ptr<SystemCopy> InstalledFiles::copy_;
ShellResult InstalledFiles::installed_;
std::vector<std::string> InstalledFiles::files_;

TEST_F(InstalledFiles, InstallsTheToolUnitsManualPageCompletionAndCatalogues)
{
    for (const std::string& path :
         {std::string(NORVA_INSTALLED_TOOL), kTimer, kService,
          std::string(NORVA_MAN_DIR) + "/man8/norva-snapshots-manager.8",
          std::string(NORVA_DATA_DIR) + "/bash-completion/completions/norva-snapshots-manager",
          std::string("/usr/share/locale/ru/LC_MESSAGES/norva-snapshots-manager.mo")}) {
        EXPECT_TRUE(installed(path)) << path;
    }
}

TEST_F(InstalledFiles, InstallsTheRealLibraryWithItsSonameLinkAndNeverTheSimulatedOne)
{
    for (const std::string& path : files_) {
        EXPECT_EQ(path.find("sim"), std::string::npos) << path;
    }
#ifdef NORVA_LVM_LIBRARY
    const std::string library = std::string(NORVA_LIB_DIR) + "/libnorvasnapshots.so.0";
    EXPECT_TRUE(installed(library));
    const ShellResult link = runShell("readlink " + shellQuote(copy_->root() + library));
    EXPECT_EQ(link.out.rfind("libnorvasnapshots.so.0.", 0), 0U) << link.out;
    // The unversioned name is for linking against it, which nothing installed does.
    EXPECT_FALSE(installed(std::string(NORVA_LIB_DIR) + "/libnorvasnapshots.so"));
#endif
}

TEST_F(InstalledFiles, SystemdVerifiesTheInstalledUnits)
{
    const ShellResult verified = inside("systemd-analyze verify " + kTimer + " " + kService);
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(verified.err, "");
}

TEST_F(InstalledFiles, TimerCanBeEnabledAndIsNotStatic)
{
    // A static timer would pass `systemctl is-enabled`, so -i would call a stopped automation
    // running.
    const ShellResult before = inside("systemctl is-enabled norva-snapshots.timer");
    EXPECT_EQ(before.out, "disabled\n");
    EXPECT_NE(before.status, 0);
    const ShellResult enabled = inside("systemctl enable norva-snapshots.timer 2>&1 && "
                                       "systemctl is-enabled norva-snapshots.timer && "
                                       "test -L /etc/systemd/system/timers.target.wants/"
                                       "norva-snapshots.timer");
    EXPECT_EQ(enabled.status, 0) << enabled.out;
    const ShellResult disabled = inside("systemctl disable norva-snapshots.timer 2>&1 && "
                                        "systemctl is-enabled norva-snapshots.timer");
    EXPECT_TRUE(disabled.out.ends_with("disabled\n")) << disabled.out;
}

TEST_F(InstalledFiles, ServiceIsAOneshotCheckByTheInstalledTool)
{
    const ShellResult unit = runShell("cat " + shellQuote(copy_->root() + kService));
    const auto lines = splitLines(unit.out);
    const auto has = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(has("Type=oneshot"));
    EXPECT_TRUE(has("ExecStart=" + std::string(NORVA_INSTALLED_TOOL) + " -c"));
    EXPECT_FALSE(has("[Install]")) << "the service is started by the timer only";
    const ShellResult timer = runShell("cat " + shellQuote(copy_->root() + kTimer));
    EXPECT_NE(timer.out.find("\n[Install]\nWantedBy=timers.target\n"), std::string::npos);
    EXPECT_NE(timer.out.find("\nPersistent=true\n"), std::string::npos);
}

} // namespace
