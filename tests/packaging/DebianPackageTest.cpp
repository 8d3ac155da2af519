// The Debian packages as an administrator gets them: dpkg-buildpackage builds them from a copy
// of the source tree, lintian finds no error, and they install into a writable copy of the
// machine, where the tool runs and the timer stays disabled until a script is launched.

#include "Shell.h"
#include "SystemCopy.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

const std::string kToolDeb = "norva-snapshots-manager_*_*.deb";
const std::string kLibraryDeb = "libnorvasnapshots0_*_*.deb";

class DebianPackage : public ::testing::Test {
protected:
    // Building takes a while, so the suite builds and installs once.
    static void SetUpTestSuite()
    {
        scratch_ = std::make_unique<ScratchSpace>();
        if (!scratch_->ready()) {
            return;
        }
        const std::string out = shellQuote(scratch_->path());
        // Build trees inside the source tree (CI's build/) stay behind, like the git metadata.
        built_ = runShell("set -e; mkdir " + out + "/src; tar -C " + shellQuote(NORVA_SOURCE_DIR) +
                          " --exclude=./.git --exclude=./build --exclude-tag-all=CMakeCache.txt"
                          " -cf - . | tar -C " +
                          out + "/src -xf -; cd " + out +
                          "/src;"
                          " DEB_BUILD_OPTIONS=\"parallel=$(nproc)\" dpkg-buildpackage -us -uc -b"
                          " >../build.log 2>&1 || { tail -n 60 ../build.log >&2; exit 1; }");
        if (built_.status != 0) {
            return;
        }
        lintian_ = runShell("cd " + out + " && lintian --fail-on error *.changes 2>/dev/null");
        copy_ = std::make_unique<SystemCopy>();
        if (!copy_->ready()) {
            return;
        }
        std::string debs = out + "/" + kToolDeb;
#ifdef NORVA_LVM_LIBRARY
        debs += " " + out + "/" + kLibraryDeb;
#endif
        installed_ = runShell("set -e; mkdir " + shellQuote(copy_->root() + "/tmp/norva-debs") +
                              "; cp " + debs + " " + shellQuote(copy_->root() + "/tmp/norva-debs"));
        if (installed_.status == 0) {
            installed_ = copy_->inside("dpkg -i /tmp/norva-debs/*.deb");
        }
    }
    static void TearDownTestSuite()
    {
        copy_.reset();
        scratch_.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(scratch_->ready()) << scratch_->problem();
        ASSERT_EQ(built_.status, 0) << built_.err;
    }

    // Tests of the installed packages need the real library, which the tool depends on.
    void requireInstalled()
    {
#ifndef NORVA_LVM_LIBRARY
        GTEST_SKIP() << "lib/lvm is not in this tree: the tool's library package is not built";
#endif
        ASSERT_TRUE(copy_->ready()) << copy_->problem();
        ASSERT_EQ(installed_.status, 0) << installed_.out << installed_.err;
    }

    [[nodiscard]] static ShellResult inBuildDir(const std::string& script)
    {
        return runShell("cd " + shellQuote(scratch_->path()) + " && " + script);
    }

    static std::unique_ptr<ScratchSpace> scratch_;
    static std::unique_ptr<SystemCopy> copy_;
    static ShellResult built_;
    static ShellResult lintian_;
    static ShellResult installed_;
};

std::unique_ptr<ScratchSpace> DebianPackage::scratch_;
std::unique_ptr<SystemCopy> DebianPackage::copy_;
ShellResult DebianPackage::built_;
ShellResult DebianPackage::lintian_;
ShellResult DebianPackage::installed_;

TEST_F(DebianPackage, LintianReportsNoErrors)
{
    EXPECT_EQ(lintian_.status, 0) << lintian_.out;
    EXPECT_EQ(lintian_.out.find("\nE: "), std::string::npos) << lintian_.out;
    EXPECT_NE(lintian_.out.rfind("E: ", 0), 0U) << lintian_.out;
}

TEST_F(DebianPackage, ToolPackageShipsTheInstalledFilesAndNoSimulator)
{
    const ShellResult contents = inBuildDir("dpkg-deb -c " + kToolDeb);
    ASSERT_EQ(contents.status, 0) << contents.err;
    for (const char* path :
         {"./usr/sbin/norva-snapshots-manager", "./lib/systemd/system/norva-snapshots.timer",
          "./lib/systemd/system/norva-snapshots.service",
          "./usr/share/man/man8/norva-snapshots-manager.8.gz",
          "./usr/share/bash-completion/completions/norva-snapshots-manager",
          "./usr/share/locale/ru/LC_MESSAGES/norva-snapshots-manager.mo"}) {
        EXPECT_NE(contents.out.find(std::string(path) + "\n"), std::string::npos) << path;
    }
    EXPECT_EQ(contents.out.find("sim"), std::string::npos) << contents.out;
    EXPECT_EQ(contents.out.find("libnorvasnapshots"), std::string::npos) << contents.out;
}

TEST_F(DebianPackage, ToolDependsOnTheSnapshotLibraryPackage)
{
    const ShellResult depends = inBuildDir("dpkg-deb -f " + kToolDeb + " Depends");
    EXPECT_NE(depends.out.find("libnorvasnapshots0"), std::string::npos) << depends.out;
    EXPECT_NE(depends.out.find("lvm2"), std::string::npos) << depends.out;
}

TEST_F(DebianPackage, LibraryPackageShipsTheSonameLink)
{
#ifndef NORVA_LVM_LIBRARY
    GTEST_SKIP() << "lib/lvm is not in this tree";
#endif
    const ShellResult contents = inBuildDir("dpkg-deb -c " + kLibraryDeb);
    EXPECT_NE(contents.out.find("/libnorvasnapshots.so.0 -> libnorvasnapshots.so.0."),
              std::string::npos)
        << contents.out;
    EXPECT_EQ(contents.out.find("/libnorvasnapshots.so "), std::string::npos) << contents.out;
}

TEST_F(DebianPackage, InstallNeitherEnablesNorStartsTheTimer)
{
    const ShellResult postinst = inBuildDir("dpkg-deb -I " + kToolDeb + " postinst");
    EXPECT_EQ(postinst.out.find("deb-systemd-invoke"), std::string::npos) << postinst.out;
    requireInstalled();
    const ShellResult enabled = copy_->inside("systemctl is-enabled norva-snapshots.timer");
    EXPECT_EQ(enabled.out, "disabled\n");
}

TEST_F(DebianPackage, InstalledToolShowsItsHelp)
{
    requireInstalled();
    const ShellResult help = copy_->inside("norva-snapshots-manager -h", "LANG=C.UTF-8");
    EXPECT_EQ(help.status, 0) << help.err;
    const ShellResult expected = runShell("env -i LANG=C " + shellQuote(NORVA_TOOL) + " -h");
    EXPECT_EQ(help.out, expected.out);
    const ShellResult russian =
        copy_->inside("norva-snapshots-manager -h", "LANG=C.UTF-8 LANGUAGE=ru");
    EXPECT_EQ(russian.out.rfind("Использование: norva-snapshots-manager ПАРАМЕТР\n", 0), 0U)
        << russian.out;
}

TEST_F(DebianPackage, InstalledUnitsVerifyAndManualPageRenders)
{
    requireInstalled();
    const ShellResult verified =
        copy_->inside("systemd-analyze verify /lib/systemd/system/norva-snapshots.timer "
                      "/lib/systemd/system/norva-snapshots.service");
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(verified.err, "");
    const ShellResult manual =
        copy_->inside("man --warnings norva-snapshots-manager >/dev/null", "LANG=C.UTF-8");
    EXPECT_EQ(manual.status, 0) << manual.err;
    EXPECT_EQ(manual.err, "");
}

TEST_F(DebianPackage, PurgeTakesTheConfigurationAlong)
{
    requireInstalled();
    const ShellResult purged =
        copy_->inside("echo '{\"script\":1,\"lifetime\":0,\"quantity\":0,\"size\":0}' "
                      "> /etc/norva-snapshots-manager.conf && dpkg --purge norva-snapshots-manager "
                      ">/dev/null && ! test -e /etc/norva-snapshots-manager.conf && "
                      "! test -e /usr/sbin/norva-snapshots-manager");
    EXPECT_EQ(purged.status, 0) << purged.err;
}

} // namespace
