// The bash completion, loaded into a plain bash and asked for the candidates of a command line
// as bash would ask when Tab is pressed at its end.

#include "Shell.h"

#include <gtest/gtest.h>

namespace {

// The candidates bash would offer for `line`, one a line.
std::string candidates(const std::string& line)
{
    const std::string script =
        "source " + shellQuote(NORVA_COMPLETION) + " || exit 2\n" +
        "complete -p norva-snapshots-manager >/dev/null || exit 3\n" +
        "COMP_LINE=" + shellQuote(line) + "; COMP_POINT=${#COMP_LINE}\n" +
        "read -r -a COMP_WORDS <<<\"$COMP_LINE\"; COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n" +
        "_norva_snapshots_manager\n" + "printf '%s\\n' \"${COMPREPLY[@]}\"\n";
    const ShellResult result = runShell("bash --norc --noprofile -c " + shellQuote(script));
    EXPECT_EQ(result.status, 0) << result.err;
    return result.out;
}

TEST(BashCompletion, ShortScriptOptionCompletesTheSixScriptNumbers)
{
    EXPECT_EQ(candidates("norva-snapshots-manager -s"), "-s1\n-s2\n-s3\n-s4\n-s5\n-s6\n");
    EXPECT_EQ(candidates("norva-snapshots-manager -s4"), "-s4\n");
    EXPECT_EQ(candidates("norva-snapshots-manager -s7"), "\n");
}

TEST(BashCompletion, LongScriptOptionCompletesTheNumberAfterTheEqualsSign)
{
    // bash splits the word at '=', so the candidates replace only what follows it.
    EXPECT_EQ(candidates("norva-snapshots-manager --script="), "1\n2\n3\n4\n5\n6\n");
    EXPECT_EQ(candidates("norva-snapshots-manager --script=6"), "6\n");
}

TEST(BashCompletion, OffersEveryShortAndLongOption)
{
    EXPECT_EQ(candidates("norva-snapshots-manager -"), "-h\n-s\n-b\n-r\n-p\n-c\n-t\n-i\n");
    EXPECT_EQ(candidates("norva-snapshots-manager --"),
              "--help\n--script=\n--break\n--restart\n--purge\n--check\n--trigger\n--info\n");
    EXPECT_EQ(candidates("norva-snapshots-manager --re"), "--restart\n");
}

TEST(BashCompletion, CompletesNothingAfterTheOneOption)
{
    // The tool takes exactly one argument; a second one would only earn the usage text.
    EXPECT_EQ(candidates("norva-snapshots-manager -b -"), "\n");
    EXPECT_EQ(candidates("norva-snapshots-manager -s 1"), "\n");
}

} // namespace
