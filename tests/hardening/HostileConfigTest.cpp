// Whatever stands at the configuration path, the commands that read it end promptly and take
// it for no chosen script: a check fails with status 1 and the status report names no script.
// A check started by the timer that hangs there would hold the run lock for ever.
#include "LockSandbox.h"

#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr std::chrono::seconds kPrompt{10};

class HostileConfig : public LockSandbox {
protected:
    void replaceConfig() const
    {
        std::error_code ignored;
        fs::remove(kConfigPath, ignored);
    }

    // -c and -i on what stands at the configuration path.
    void expectReadAsNoScript()
    {
        const ToolRun check = finishWithin(start({"-c"}), kPrompt);
        EXPECT_FALSE(check.hung) << "the check hung on the configuration path";
        EXPECT_EQ(check.status, 1);
        EXPECT_EQ(check.out + check.err, "");
        const ToolRun info = finishWithin(start({"-i"}), kPrompt);
        EXPECT_FALSE(info.hung) << "the status report hung on the configuration path";
        EXPECT_EQ(info.out, "Automation status: stopped\nCurrent script: unknown\n");
        EXPECT_EQ(simState(), seeded_) << "the snapshots changed";
    }

    void SetUp() override
    {
        LockSandbox::SetUp();
        seeded_ = simState();
    }

    std::string seeded_;
};

TEST_F(HostileConfig, ANamedPipeWithoutWriterIsNoConfiguration)
{
    replaceConfig();
    ASSERT_EQ(::mkfifo(kConfigPath, 0600), 0);
    expectReadAsNoScript();
}

TEST_F(HostileConfig, EndlessDevicesAreNoConfiguration)
{
    for (const char* device : {"/dev/zero", "/dev/urandom"}) {
        SCOPED_TRACE(device);
        replaceConfig();
        fs::create_symlink(device, kConfigPath);
        expectReadAsNoScript();
    }
}

TEST_F(HostileConfig, ADirectoryIsNoConfiguration)
{
    replaceConfig();
    fs::create_directory(kConfigPath);
    expectReadAsNoScript();
    fs::remove(kConfigPath);
}

TEST_F(HostileConfig, HugeAndDeeplyNestedTextsAreNoConfiguration)
{
    constexpr size_t kSize = 64U << 20;
    for (const char opener : {'[', '{', ' '}) {
        SCOPED_TRACE(std::string("64 MiB of '") + opener + "'");
        writeConfig(std::string(kSize, opener));
        expectReadAsNoScript();
    }
}

} // namespace
