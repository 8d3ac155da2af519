#include "config/ConfigFile.h"

#include "config/AtomicFile.h"
#include "config/ConfigPath.h"
#include "fakes/TestConfigPath.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(ConfigText, IsOneCompactLineWithKeysInOrder)
{
    EXPECT_EQ(serializeConfig({2, 7, 0, 0}),
              "{\"script\":2,\"lifetime\":7,\"quantity\":0,\"size\":0}\n");
    EXPECT_EQ(serializeConfig({2, 7, 0, 0}).size(), 48u);
    EXPECT_EQ(serializeConfig({5, 3, 4, 0}),
              "{\"script\":5,\"lifetime\":3,\"quantity\":4,\"size\":0}\n");
    EXPECT_EQ(
        serializeConfig({-1, INT32_MIN, 6, UINT64_MAX}),
        "{\"script\":-1,\"lifetime\":-2147483648,\"quantity\":6,\"size\":18446744073709551615}\n");
}

TEST(ConfigText, RoundTripsEveryFieldBelowTwoToTheSixtyThree)
{
    for (const ScriptConfig config : {ScriptConfig{}, ScriptConfig{5, 3, 4, 247},
                                      ScriptConfig{INT32_MAX, INT32_MIN, -7, (1ULL << 63) - 1}}) {
        EXPECT_EQ(parseConfig(serializeConfig(config)), config);
    }
}

struct ParseCase {
    const char* text;
    ScriptConfig expected;
};

class ConfigParse : public testing::TestWithParam<ParseCase> {};

TEST_P(ConfigParse, MapsTextOntoTheRecord)
{
    EXPECT_EQ(parseConfig(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ConfigParse,
    testing::Values(
        ParseCase{"", {}}, ParseCase{"{\"script\":3", {}},
        ParseCase{"{\"script\":3}", {3, 0, 0, 0}}, ParseCase{"{\"script\":\"3\"}", {}},
        ParseCase{"{\"script\":3.0}", {}}, ParseCase{"{\"script\":3e0}", {}},
        ParseCase{"[1,2]", {}}, ParseCase{"3", {}}, ParseCase{"{\"script\":3} // comment", {}},
        ParseCase{"{\"script\":3,}", {}}, ParseCase{"{\"script\":3} {}", {}},
        ParseCase{"{\"script\":3}\n \t\r\n", {3, 0, 0, 0}},
        ParseCase{"{\"lifetime\":30}", {0, 30, 0, 0}},
        ParseCase{"{\"size\":9223372036854775808}", {}},
        ParseCase{"{\"size\":9223372036854775807}", {0, 0, 0, 9223372036854775807ULL}},
        ParseCase{"{\"size\":-1}", {0, 0, 0, UINT64_MAX}},
        ParseCase{"{\"script\":4294967298}", {2, 0, 0, 0}},
        ParseCase{"{\"script\":true,\"lifetime\":null,\"quantity\":[4],\"size\":{}}", {}},
        ParseCase{"{\n \"other\": 1,\n \"size\": 10,\n \"quantity\": 4,\n \"script\": 5,\n"
                  " \"lifetime\": 2\n}",
                  {5, 2, 4, 10}},
        ParseCase{"{\"script\":\"\xff\",\"lifetime\":1}", {}}));

TEST(ConfigParse, RefusesNestingBeyondTheParserLimit)
{
    const std::string deep = std::string(10000, '[') + std::string(10000, ']');
    EXPECT_EQ(parseConfig(deep), ScriptConfig{});
    const std::string nested =
        "{\"script\":1,\"x\":" + std::string(40, '[') + std::string(40, ']') + "}";
    EXPECT_EQ(parseConfig(nested), ScriptConfig{});
}

class ConfigFileOnDisk : public testing::Test {
protected:
    void SetUp() override { removeConfigFile(); }
    void TearDown() override { removeConfigFile(); }
};

TEST_F(ConfigFileOnDisk, MissingFileLoadsAsNoScript)
{
    EXPECT_EQ(loadConfig(), ScriptConfig{});
}

TEST_F(ConfigFileOnDisk, SaveWritesExactBytesAndLoadReadsThem)
{
    ASSERT_TRUE(saveConfig({2, 7, 0, 0}));
    EXPECT_EQ(readConfigFile(), "{\"script\":2,\"lifetime\":7,\"quantity\":0,\"size\":0}\n");
    EXPECT_EQ(loadConfig(), (ScriptConfig{2, 7, 0, 0}));
}

TEST_F(ConfigFileOnDisk, ReplacedFileKeepsItsModeAndNewFileFollowsTheUmask)
{
    const mode_t previous = ::umask(027);
    ASSERT_TRUE(saveConfig({1, 0, 0, 0}));
    struct stat created {};
    ASSERT_EQ(::stat(configFilePath(), &created), 0);
    EXPECT_EQ(created.st_mode & 07777, 0640u);

    ASSERT_EQ(::chmod(configFilePath(), 0604), 0);
    ASSERT_TRUE(saveConfig({3, 0, 0, 0}));
    struct stat replaced {};
    ASSERT_EQ(::stat(configFilePath(), &replaced), 0);
    EXPECT_EQ(replaced.st_mode & 07777, 0604u);
    ::umask(previous);
}

TEST_F(ConfigFileOnDisk, SaveThroughASymlinkReplacesItsTargetAndKeepsTheLink)
{
    const std::filesystem::path link = configFilePath();
    const std::filesystem::path target = link.parent_path() / "real.conf";
    writeConfigFile("old");
    std::filesystem::rename(link, target);
    std::filesystem::create_symlink("real.conf", link);

    ASSERT_TRUE(saveConfig({6, 2, 0, 0}));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(loadConfigFrom(target.c_str()), (ScriptConfig{6, 2, 0, 0}));
    std::filesystem::remove(target);
}

TEST_F(ConfigFileOnDisk, FailedSaveLeavesTheOldFileAndNoTemporary)
{
    const std::filesystem::path path = configFilePath();
    std::filesystem::create_directory(path);
    EXPECT_FALSE(saveConfig({1, 0, 0, 0}));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    std::filesystem::remove(path);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                            std::filesystem::directory_iterator{}),
              0);

    EXPECT_FALSE(saveConfigTo({1, 0, 0, 0}, "/nonexistent-directory/norva.conf"));
}

TEST_F(ConfigFileOnDisk, UnreadableContentLoadsAsNoScript)
{
    writeConfigFile(std::string("\0\x01\x02garbage", 10));
    EXPECT_EQ(loadConfig(), ScriptConfig{});
    writeConfigFile(std::string(1 << 20, ' ') + "{\"script\":2}");
    EXPECT_EQ(loadConfig(), (ScriptConfig{2, 0, 0, 0}));
    removeConfigFile();
    std::filesystem::create_directory(configFilePath());
    EXPECT_EQ(loadConfig(), ScriptConfig{});
    std::filesystem::remove(configFilePath());
}

TEST_F(ConfigFileOnDisk, ASaveClearsTemporariesLeftByAKilledSave)
{
    const auto directory = std::filesystem::path(configFilePath()).parent_path();
    writeConfigFile("old");
    std::filesystem::copy_file(configFilePath(), directory / ".norva-snapshots-manager.Ab12Cd");
    ASSERT_TRUE(saveConfig({1, 0, 0, 0}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory),
                            std::filesystem::directory_iterator{}),
              1);
}

TEST_F(ConfigFileOnDisk, ALinkToADeviceIsNeverReplaced)
{
    std::filesystem::create_symlink("/dev/null", configFilePath());
    EXPECT_FALSE(saveConfig({1, 0, 0, 0}));
    struct stat device {};
    ASSERT_EQ(::stat("/dev/null", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    std::filesystem::remove(configFilePath());
}

TEST(Symlinks, LoopsAndLongChainsAreRefused)
{
    const auto directory = std::filesystem::path(configFilePath()).parent_path();
    const auto a = directory / "loop-a";
    const auto b = directory / "loop-b";
    std::filesystem::create_symlink(b, a);
    std::filesystem::create_symlink(a, b);
    EXPECT_EQ(followSymlinks(a), "");
    EXPECT_FALSE(replaceFileAtomically(a, "x"));
    std::filesystem::remove(a);
    std::filesystem::remove(b);
}

} // namespace
