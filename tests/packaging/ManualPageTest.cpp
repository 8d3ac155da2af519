// The manual page as man(1) shows it: it must render without a single warning and document
// every option, script, file and exit status the tool has.

#include "Shell.h"

#include <gtest/gtest.h>

namespace {

const std::string kPage = NORVA_MAN_PAGE;

// The page as plain ASCII text, on lines long enough that no word is hyphenated.
std::string renderedPage()
{
    const ShellResult rendered = runShell("MANWIDTH=400 LC_ALL=C.UTF-8 man -E ascii -P cat -l " +
                                          shellQuote(kPage) + " | col -bx");
    EXPECT_EQ(rendered.status, 0) << rendered.err;
    return rendered.out;
}

TEST(ManualPage, GroffRendersItWithoutWarnings)
{
    const ShellResult rendered =
        runShell("groff -ww -b -z -man -Tutf8 -K utf8 " + shellQuote(kPage));
    EXPECT_EQ(rendered.status, 0);
    EXPECT_EQ(rendered.err, "");
}

TEST(ManualPage, ManRendersItWithoutWarnings)
{
    const ShellResult rendered = runShell("MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l " +
                                          shellQuote(kPage) + " >/dev/null");
    EXPECT_EQ(rendered.status, 0);
    EXPECT_EQ(rendered.err, "");
}

TEST(ManualPage, IsSectionEightWithTheUsualSections)
{
    const std::string page = renderedPage();
    EXPECT_EQ(page.rfind("NORVA-SNAPSHOTS-MANAGER(8)", 0), 0U) << page.substr(0, 80);
    for (const char* heading : {"NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "SCRIPTS",
                                "EXIT STATUS", "FILES", "EXAMPLES", "SEE ALSO"}) {
        EXPECT_NE(page.find("\n" + std::string(heading) + "\n"), std::string::npos) << heading;
    }
}

TEST(ManualPage, DocumentsEveryOptionInBothForms)
{
    const std::string page = renderedPage();
    for (const char* option :
         {"-h, --help", "-snumber, --script=number", "-b, --break", "-r, --restart", "-p, --purge",
          "-c, --check", "-t, --trigger", "-i, --info"}) {
        EXPECT_NE(page.find(option), std::string::npos) << option;
    }
}

TEST(ManualPage, DocumentsTheSixScriptsWithTheirParameters)
{
    const std::string page = renderedPage();
    const size_t scripts = page.find("\nSCRIPTS\n");
    const size_t exitStatus = page.find("\nEXIT STATUS\n");
    ASSERT_LT(scripts, exitStatus);
    const std::string section = page.substr(scripts, exitStatus - scripts);
    for (const char* number : {"1", "2", "3", "4", "5", "6"}) {
        EXPECT_NE(section.find("\n       " + std::string(number) + "      "), std::string::npos)
            << "script " << number;
    }
    EXPECT_NE(section.find("snapshot lifetime in days"), std::string::npos);
    EXPECT_NE(section.find("rotation period in days and the number of snapshots"),
              std::string::npos);
}

TEST(ManualPage, NamesTheFilesTheUnitsAndTheExitStatuses)
{
    const std::string page = renderedPage();
    EXPECT_NE(page.find("/etc/norva-snapshots-manager.conf"), std::string::npos);
    EXPECT_NE(page.find(std::string(NORVA_UNIT_DIR) + "/norva-snapshots.timer"), std::string::npos);
    EXPECT_NE(page.find(std::string(NORVA_UNIT_DIR) + "/norva-snapshots.service"),
              std::string::npos);
    EXPECT_NE(page.find(std::string(NORVA_INSTALLED_TOOL) + " -c"), std::string::npos);
    const size_t exitStatus = page.find("\nEXIT STATUS\n");
    ASSERT_NE(exitStatus, std::string::npos);
    EXPECT_NE(page.find("\n       0      ", exitStatus), std::string::npos);
    EXPECT_NE(page.find("\n       1      ", exitStatus), std::string::npos);
}

TEST(ManualPage, ExamplesLaunchScriptFiveCheckStopAndRestart)
{
    const std::string page = renderedPage();
    const size_t examples = page.find("\nEXAMPLES\n");
    ASSERT_NE(examples, std::string::npos);
    for (const char* command : {"# norva-snapshots-manager -s5", "# norva-snapshots-manager -i",
                                "# norva-snapshots-manager -b", "# norva-snapshots-manager -r"}) {
        EXPECT_NE(page.find(command, examples), std::string::npos) << command;
    }
}

} // namespace
