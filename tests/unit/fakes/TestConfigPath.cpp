#include "fakes/TestConfigPath.h"

#include "config/ConfigPath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <system_error>
#include <vector>

namespace {

// The per-process directory that holds the configuration file; removed with everything in it
// when the test process ends.
class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                              "/norva-unit-tests.XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr) {
            ADD_FAILURE() << "cannot make a temporary directory from " << pattern;
            return;
        }
        directory_ = name.data();
        file_ = (directory_ / "norva-snapshots-manager.conf").string();
    }

    ~TemporaryDirectory()
    {
        if (!directory_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(directory_, ignored);
        }
    }

    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    // Empty when the directory could not be made, so that every use of the file fails.
    [[nodiscard]] const std::string& file() const { return file_; }

private:
    std::filesystem::path directory_;
    std::string file_;
};

const std::string& testConfigFile()
{
    static const TemporaryDirectory directory;
    return directory.file();
}

} // namespace

const char* configFilePath()
{
    return testConfigFile().c_str();
}

std::string readConfigFile()
{
    std::ifstream in(testConfigFile(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeConfigFile(std::string_view content)
{
    std::ofstream out(testConfigFile(), std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    ASSERT_TRUE(out.good()) << "cannot write " << testConfigFile();
}

void removeConfigFile()
{
    std::error_code ignored;
    std::filesystem::remove(testConfigFile(), ignored);
}

bool configFileExists()
{
    std::error_code ignored;
    return std::filesystem::exists(testConfigFile(), ignored);
}
