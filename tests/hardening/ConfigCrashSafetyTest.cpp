// A save of the configuration interrupted at any step leaves the old file or the new one, never
// a part of either. The writer is run under strace once to learn the system calls of a save,
// then once for each of them killed as it enters that call, and once with that call failing.
#include "StraceRun.h"
#include "config/ConfigFile.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>

namespace {

namespace fs = std::filesystem;

const ScriptConfig kOldRecord{2, 3, 0, 0};

// A sanitizer build's allocator maps memory during the save and gives up the process when that
// fails: a failed mapping would test the allocator, not the save. Killing there still counts.
bool isMemoryMapping(const SyscallStep& step)
{
    return step.name == "mmap" || step.name == "munmap" || step.name == "mprotect" ||
           step.name == "brk" || step.name == "madvise" || step.name == "mremap";
}
const ScriptConfig kNewRecord{5, 3, 4, 247};

class ConfigCrashSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "norva-crash.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory_ = pattern;
        file_ = (directory_ / "norva-snapshots-manager.conf").string();
    }
    void TearDown() override { fs::remove_all(directory_); }

    void writeOld() const { ASSERT_TRUE(saveConfigTo(kOldRecord, file_.c_str())); }

    [[nodiscard]] std::optional<std::string> content() const
    {
        std::ifstream in(file_, std::ios::binary);
        if (!in.is_open()) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    [[nodiscard]] size_t strayFiles() const
    {
        return static_cast<size_t>(
                   std::distance(fs::directory_iterator(directory_), fs::directory_iterator())) -
               (content() ? 1U : 0U);
    }

    [[nodiscard]] WriterCommand writer() const { return WriterCommand{file_, kNewRecord}; }

    // Interrupts the save at each of its system calls in turn and checks what is left.
    void interruptEveryStep(const std::optional<std::string>& old)
    {
        const auto steps = saveSteps(writer());
        ASSERT_GE(steps.size(), 5U) << "the save's system calls were not found";
        const std::string newText = serializeConfig(kNewRecord);
        size_t strays = 0;
        for (const SyscallStep& step : steps) {
            for (const Interruption how : {Interruption::Kill, Interruption::Fail}) {
                if (how == Interruption::Fail && isMemoryMapping(step)) {
                    continue;
                }
                SCOPED_TRACE(describe(step, how));
                if (old) {
                    writeOld();
                } else {
                    fs::remove(file_);
                }
                const WriterOutcome outcome = runInterrupted(writer(), step, how);
                const auto left = content();
                EXPECT_TRUE(left == old || left == newText)
                    << "left: " << left.value_or("<no file>");
                if (how == Interruption::Fail) {
                    ASSERT_TRUE(outcome.exited) << "the writer did not end normally";
                    EXPECT_EQ(left, outcome.reportedSuccess ? newText : old)
                        << "the result does not tell which file is left";
                } else {
                    strays += strayFiles();
                }
                fs::remove_all(directory_);
                fs::create_directory(directory_);
            }
        }
        RecordProperty("steps", static_cast<int>(steps.size()));
        std::cout << "[ crash    ] " << steps.size() << " system calls, each killed and failed; "
                  << strays << " temporary files left by killed writers\n";
    }

    fs::path directory_;
    std::string file_;
};

TEST_F(ConfigCrashSafety, AnInterruptedSaveLeavesTheOldFileOrTheNewOne)
{
    writeOld();
    interruptEveryStep(serializeConfig(kOldRecord));
}

TEST_F(ConfigCrashSafety, AnInterruptedFirstSaveLeavesNoFileOrTheNewOne)
{
    interruptEveryStep(std::nullopt);
}

} // namespace
