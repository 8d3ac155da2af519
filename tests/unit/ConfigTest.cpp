// SPDX-License-Identifier: GPL-2.0-or-later
// The configuration text as read and written, the answers at the prompts, and the run lock.
#include "World.h"
#include "automation/RunLock.h"
#include "config/ConfigFile.h"
#include "config/Prompts.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TEST(ConfigText, ReadsEachKeyOnItsOwnAndAnythingElseAsZero)
{
    const struct {
        const char* text;
        ScriptConfig config;
    } rows[] = {
        {R"({"script":2,"lifetime":7,"quantity":0,"size":0})", {2, 7, 0, 0}},
        {"{\n \"size\": 18446744073709551615,\"quantity\":4,\n\"script\":5,\"lifetime\":3}",
         {5, 3, 4, 0}}, // above int64: 0
        {R"({"size":9223372036854775807,"script":5})", {5, 0, 0, 9223372036854775807U}},
        {R"({"script":-1,"lifetime":-2,"size":-1})", {-1, -2, 0, UINT64_MAX}},
        {R"({"script":4294967297,"note":"kept low 32 bits"})", {1, 0, 0, 0}},
        {R"({"script":"3","lifetime":3.0,"quantity":3e0,"size":true})", {}},
        {R"({"script":null,"lifetime":[3],"quantity":{"n":3}})", {}},
        {R"([{"script":3}])", {}},
        {R"({"script":3,})", {}},
        {R"({"script":3}{"script":3})", {}},
        {"{\"script\":3} // chosen by hand", {}},
        {"\xef\xbb\xbf{\"script\":3}", {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(parseConfig(std::string_view(row.text)), row.config) << row.text;
    }
    EXPECT_EQ(serializeConfig({5, 3, 4, UINT64_MAX}),
              "{\"script\":5,\"lifetime\":3,\"quantity\":4,\"size\":18446744073709551615}\n");
    EXPECT_EQ(serializeConfig({-1, 0, 0, 0}),
              "{\"script\":-1,\"lifetime\":0,\"quantity\":0,\"size\":0}\n");
}

TEST(Prompts, TakeDigitsWithASignAndIgnoreTheRest) // the questions themselves: end to end
{
    const struct {
        const char* word;
        std::optional<int32_t> answer;
    } rows[] = {{"3", 3},           {"+3", 3},           {"-2", -2}, {"5abc", 5},
                {"007", 7},         {"abc", {}},         {"", {}},   {"2147483647", 2147483647},
                {"2147483648", {}}, {"-2147483649", {}}, {" 3", {}}};
    for (const auto& row : rows) {
        EXPECT_EQ(parseAnswer(row.word), row.answer) << row.word;
    }
}

// The one held-lock test: another run holds the lock; this one gives up after its wait, takes
// it once it is free, and a file planted by another user does not stop it.
TEST_F(World, RunLockWaitsForAnotherRunThenGivesUp)
{
    const std::string path = dir_ + "/run.lock";
    const int other = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    EXPECT_FALSE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(300)));
    ::close(other);
    EXPECT_TRUE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(300)));
    ASSERT_EQ(::fchown(::open(path.c_str(), O_RDONLY), 65534, 65534), 0);
    const int planted = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(planted, LOCK_EX), 0);
    EXPECT_TRUE(RunLock::acquire(path.c_str(), std::chrono::milliseconds(300)));
    ::close(planted);
}
