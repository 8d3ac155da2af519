// SPDX-License-Identifier: GPL-2.0-or-later
#include "World.h"

#include "config/ConfigPath.h"
#include "scripts/Clock.h"
#include "text/SystemLog.h"

#include <ctime>

void logLine(LogLevel, const std::string& line)
{
    World::logged.push_back({line, World::read(std::getenv("NORVASNAPSHOTS_SIM_STATE"))});
}

// The clock of the tool and, by interposition, of the simulated library's time(): both see the
// same second, so a snapshot made now is exactly 0 seconds old.
extern "C" time_t time(time_t* result) noexcept
{
    constexpr auto now = static_cast<time_t>(kNow);
    return result == nullptr ? now : (*result = now);
}

uint64_t currentTime()
{
    return kNow;
}

const char* configFilePath()
{
    return World::configPath.c_str();
}

void World::stage(const std::vector<Staged>& snapshots, uint64_t freeSpace)
{
    std::vector<Snap> seeded;
    for (const Staged& s : snapshots) {
        seeded.push_back({seeded.size() + 1, s.age, s.size == 0 ? kStageRoot : s.size});
    }
    seed(seeded,
         "root_size " + std::to_string(kStageRoot) + "\nvg_free " + std::to_string(freeSpace));
}

void World::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "norva-unit-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    configPath = dir_ + "/norva-snapshots-manager.conf";
    std::filesystem::create_directories(dir_ + "/bin");
    std::filesystem::create_symlink(NORVA_FAKE_SYSTEMCTL, dir_ + "/bin/systemctl");
    ::setenv("PATH", (dir_ + "/bin:/usr/bin:/bin").c_str(), 1);
    ::setenv("FAKE_SYSTEMCTL_DIR", (dir_ + "/systemctl").c_str(), 1);
    ::setenv("NORVASNAPSHOTS_SIM_STATE", (dir_ + "/sim").c_str(), 1);
    seed({});
}
