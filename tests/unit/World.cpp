// SPDX-License-Identifier: GPL-2.0-or-later
#include "World.h"

#include "automation/RunLock.h"
#include "config/ConfigPath.h"
#include "scripts/Clock.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr time_t kNow = 1796126400; // 2026-12-01 12:00:00 UTC
std::string configPath;

[[nodiscard]] std::string read(const fs::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

} // namespace

// The clock of the tool and, by interposition, of the simulated library's time(): both see the
// same second, so a snapshot made now is exactly 0 seconds old.
extern "C" time_t time(time_t* result) noexcept
{
    return result == nullptr ? kNow : (*result = kNow);
}

uint64_t currentTime()
{
    return static_cast<uint64_t>(kNow);
}

const char* configFilePath()
{
    return configPath.c_str();
}

void World::SetUp()
{
    std::string pattern = (fs::temp_directory_path() / "norva-unit-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ + "/bin");
    fs::create_directories(dir_ + "/systemctl");
    fs::create_symlink(NORVA_FAKE_SYSTEMCTL, dir_ + "/bin/systemctl");
    ::setenv("PATH", (dir_ + "/bin:/usr/bin:/bin").c_str(), 1);
    ::setenv("FAKE_SYSTEMCTL_DIR", (dir_ + "/systemctl").c_str(), 1);
    ::setenv("NORVASNAPSHOTS_SIM_STATE", (dir_ + "/sim").c_str(), 1);
    configPath = dir_ + "/norva-snapshots-manager.conf";
    seed({});
}

void World::TearDown()
{
    fs::remove_all(dir_);
}

void World::seed(const std::vector<Snap>& snapshots, const std::string& more) const
{
    fs::remove(configPath);
    std::ofstream state(dir_ + "/sim");
    state << "root_size " << kRoot << "\nvg_free 5000\nboot_used 100\nnext_id 10\n";
    for (const Snap& s : snapshots) {
        const uint64_t created = s.age == kUndated ? 0 : static_cast<uint64_t>(kNow) - s.age;
        state << "snapshot " << s.id << " " << created << " " << s.size << " " << s.fill << "\n";
    }
    state << more << "\n";
}

std::string World::stateText() const
{
    return read(dir_ + "/sim");
}

std::string World::snapshots() const
{
    std::istringstream lines(stateText());
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string kind, id, created, size;
        words >> kind >> id >> created >> size;
        if (kind == "snapshot") {
            result += (result.empty() ? "" : " ") + id + ":" + size;
        }
    }
    return result;
}

std::string World::pendingFailures() const
{
    std::istringstream lines(stateText());
    std::string result;
    for (std::string line; std::getline(lines, line);) {
        result += line.rfind("fail ", 0) == 0 ? line + "\n" : "";
    }
    return result;
}

void World::timer(const std::string& state, const std::vector<std::string>& failing) const
{
    for (const auto& [flag, file] : {std::pair{'a', "active"}, std::pair{'e', "enabled"}}) {
        if (state.find(flag) != std::string::npos) {
            std::ofstream(dir_ + "/systemctl/" + file);
        } else {
            fs::remove(dir_ + "/systemctl/" + file);
        }
    }
    for (const std::string& verb : failing) {
        std::ofstream(dir_ + "/systemctl/fail-" + verb);
    }
}

std::string World::timer() const
{
    return std::string(fs::exists(dir_ + "/systemctl/active") ? "a" : "-") +
           (fs::exists(dir_ + "/systemctl/enabled") ? "e" : "-");
}

std::string World::config() const
{
    return fs::exists(configPath) ? read(configPath) : "-";
}

void World::writeConfig(const std::string& bytes) const
{
    std::ofstream(configPath) << bytes;
}
