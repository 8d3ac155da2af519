// The tool speaking Russian from the catalogue this build compiled. The catalogue is made
// visible at /usr/share/locale/ru/LC_MESSAGES through an overlay that exists only in this
// test's mount namespace; /etc and /run/lock get overlays of their own and systemctl is a fake.

#include "Shell.h"
#include "SystemCopy.h"

#include <gtest/gtest.h>

namespace {

const std::string kCatalogue = "ru/LC_MESSAGES/norva-snapshots-manager.mo";
const std::string kRussianLaunchError =
    "При запуске сценария автоматизации снимков произошла ошибка.\n";

// The characters (code points) of a UTF-8 line.
std::u32string codePoints(const std::string& line)
{
    std::u32string points;
    for (size_t i = 0; i < line.size();) {
        const auto lead = static_cast<unsigned char>(line[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t point = length == 1 ? lead : lead & (0x7FU >> length);
        for (size_t k = 1; k < length && i + k < line.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(line[i + k]) & 0x3FU);
        }
        points.push_back(point);
        i += length;
    }
    return points;
}

class RussianMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch_.ready()) << scratch_.problem();
        const std::string base = shellQuote(scratch_.path());
        const ShellResult mounted = runShell(
            "set -e; cd " + base + "; mkdir -p locale/ru/LC_MESSAGES locale-work etc etc-work bin" +
            "; cp " + shellQuote(std::string(NORVA_LOCALE_BUILD_DIR) + "/" + kCatalogue) +
            " locale/" + kCatalogue +
            "; mount -t overlay norva-locale -o lowerdir=/usr/share/locale,upperdir=$PWD/locale,"
            "workdir=$PWD/locale-work /usr/share/locale" +
            "; mount -t overlay norva-etc -o lowerdir=/etc,upperdir=$PWD/etc,workdir=$PWD/etc-work "
            "/etc" +
            "; mount -t tmpfs norva-lock /run/lock");
        ASSERT_EQ(mounted.status, 0) << mounted.err;
        mounted_ = true;
        setSystemctlAnswer(0);
    }

    void TearDown() override
    {
        if (mounted_) {
            static_cast<void>(runShell("umount /run/lock; umount /etc; umount /usr/share/locale"));
        }
    }

    // Every systemctl command line of the tool ends with this status.
    void setSystemctlAnswer(int status) const
    {
        const ShellResult written =
            runShell("printf '#!/bin/sh\\nexit %d\\n' " + std::to_string(status) + " > " +
                     shellQuote(scratch_.path() + "/bin/systemctl") + " && chmod 755 " +
                     shellQuote(scratch_.path() + "/bin/systemctl"));
        ASSERT_EQ(written.status, 0) << written.err;
    }

    static void writeConfig(const std::string& json)
    {
        const ShellResult written =
            runShell("printf '%s' " + shellQuote(json) + " > /etc/norva-snapshots-manager.conf");
        ASSERT_EQ(written.status, 0) << written.err;
    }

    // The tool run as root with nothing in its environment but PATH and `locale`.
    [[nodiscard]] ShellResult tool(const std::string& locale, const std::string& arguments) const
    {
        return runShell("env -i PATH=" + shellQuote(scratch_.path() + "/bin:/usr/bin:/bin") + " " +
                        locale + " " + shellQuote(NORVA_TOOL) + " " + arguments);
    }

private:
    ScratchSpace scratch_;
    bool mounted_ = false;
};

constexpr const char* kRussian = "LANG=C.UTF-8 LANGUAGE=ru";

TEST_F(RussianMessages, HelpComesOutInRussianWithTheDescriptionDashesAligned)
{
    const ShellResult english = tool("LANG=C", "-h");
    const ShellResult russian = tool(kRussian, "-h");
    ASSERT_EQ(russian.status, 0) << russian.err;
    const auto englishLines = splitLines(english.out);
    const auto russianLines = splitLines(russian.out);
    ASSERT_EQ(russianLines.size(), englishLines.size()) << russian.out;
    EXPECT_EQ(russianLines[0], "Использование: norva-snapshots-manager ПАРАМЕТР");
    EXPECT_EQ(russianLines[10], "Доступные сценарии:");
    for (size_t i = 0; i < russianLines.size(); ++i) {
        const std::u32string line = codePoints(russianLines[i]);
        if (!englishLines[i].empty()) {
            EXPECT_NE(russianLines[i], englishLines[i]) << "untranslated line " << i;
        }
        if (englishLines[i].rfind("-", 0) == 0) {
            // The options keep their names and their descriptions start in the 32nd column.
            EXPECT_EQ(russianLines[i].substr(0, 2), englishLines[i].substr(0, 2)) << i;
            ASSERT_GT(line.size(), 33U) << russianLines[i];
            EXPECT_EQ(line.substr(30, 3), U" - ") << russianLines[i];
        }
        // The continuation lines of scripts 3 and 4 stay indented under their text.
        EXPECT_EQ(russianLines[i].rfind("   ", 0) == 0, englishLines[i].rfind("   ", 0) == 0) << i;
    }
}

TEST_F(RussianMessages, ErrorMessageComesOutInRussian)
{
    const ShellResult launched = tool(kRussian, "-s7");
    EXPECT_EQ(launched.status, 1);
    EXPECT_EQ(launched.err, kRussianLaunchError);
    EXPECT_EQ(launched.out.rfind("Использование: norva-snapshots-manager ПАРАМЕТР\n", 0), 0U);
}

TEST_F(RussianMessages, StatusReportComesOutInRussian)
{
    writeConfig(R"({"script":5,"lifetime":3,"quantity":4,"size":1073741824})");
    const ShellResult report = tool(kRussian, "-i");
    EXPECT_EQ(report.status, 0) << report.err;
    EXPECT_EQ(report.out, "Состояние автоматизации: запущена\n"
                          "Текущий сценарий: 5\n"
                          "Период ротации снимков: 3 дн.\n"
                          "Число снимков в очереди: 4\n");
}

TEST_F(RussianMessages, StoppedAutomationWithoutScriptIsReportedInRussian)
{
    setSystemctlAnswer(3);
    const ShellResult report = tool(kRussian, "-i");
    EXPECT_EQ(report.status, 1);
    EXPECT_EQ(report.out, "Состояние автоматизации: остановлена\n"
                          "Текущий сценарий: неизвестно\n");
}

TEST_F(RussianMessages, LanguageWithoutCatalogueKeepsTheEnglishIds)
{
    const ShellResult english = tool("LANG=C", "-h");
    const ShellResult german = tool("LANG=C.UTF-8 LANGUAGE=de", "-h");
    EXPECT_EQ(german.status, 0);
    EXPECT_EQ(german.out, english.out);
    EXPECT_EQ(german.out.rfind("Usage: norva-snapshots-manager OPTION\n", 0), 0U);
    const ShellResult launched = tool("LANG=C.UTF-8 LANGUAGE=de", "-s7");
    EXPECT_EQ(launched.err, "An error occurred during snapshots automation script launch.\n");
}

TEST_F(RussianMessages, CLocaleIgnoresLanguageAndKeepsEnglish)
{
    // glibc reads LANGUAGE only when a locale other than "C" is in force.
    const ShellResult launched = tool("LANGUAGE=ru", "-s7");
    EXPECT_EQ(launched.err, "An error occurred during snapshots automation script launch.\n");
}

} // namespace
