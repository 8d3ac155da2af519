// A snapshot of the root volume is usable at boot only when the initramfs can load
// dm-snapshot. Debian's lvm2 hook adds that module, which is why the package ships no hook of
// its own; this runs that hook with recording stand-ins for the initramfs-tools helpers and
// fails when it stops doing so.

#include "Shell.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

const std::string kLvm2Hook = "/usr/share/initramfs-tools/hooks/lvm2";

TEST(Lvm2InitramfsHook, AddsTheDmSnapshotModule)
{
    const std::string script =
        "set -e; work=$(mktemp -d); trap 'rm -rf \"$work\"' EXIT\n"
        "cat > \"$work/hook-functions\" <<'STUB'\n"
        "manual_add_modules() { for module in \"$@\"; do echo \"module $module\"; done; }\n"
        "copy_exec() { echo \"program $1\"; }\n"
        "STUB\n"
        "mkdir \"$work/root\"\n"
        "sed \"s|/usr/share/initramfs-tools/hook-functions|$work/hook-functions|\" " +
        shellQuote(kLvm2Hook) + " > \"$work/hook\"\n" +
        "DESTDIR=\"$work/root\" sh \"$work/hook\"\n";
    const ShellResult ran = runShell(script);
    ASSERT_EQ(ran.status, 0) << ran.err;
    const auto lines = splitLines(ran.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "module dm_snapshot"), lines.end()) << ran.out;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "program /sbin/lvm"), lines.end()) << ran.out;
}

} // namespace
