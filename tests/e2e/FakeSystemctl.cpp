#include "FakeSystemctl.h"

#include "ChildProcess.h"

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

bool FakeSystemctl::installInto(const std::string& binDir) const
{
    std::error_code error;
    const fs::path target = fs::path(binDir) / "systemctl";
    fs::copy_file(NORVA_E2E_FAKE_SYSTEMCTL, target, fs::copy_options::overwrite_existing, error);
    if (error) {
        return false;
    }
    fs::permissions(target,
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec,
                    error);
    return !error;
}

void FakeSystemctl::setTimer(bool active, bool enabled) const
{
    setFlag("active", active);
    setFlag("enabled", enabled);
}

void FakeSystemctl::failVerb(const std::string& verb) const
{
    setFlag("fail-" + verb, true);
}

bool FakeSystemctl::timerActive() const
{
    return hasFlag("active");
}

bool FakeSystemctl::timerEnabled() const
{
    return hasFlag("enabled");
}

std::vector<std::string> FakeSystemctl::calls() const
{
    std::vector<std::string> lines;
    std::istringstream log(readWholeFile(stateDir_ + "/log").value_or(""));
    for (std::string line; std::getline(log, line);) {
        lines.push_back(line);
    }
    return lines;
}

void FakeSystemctl::forgetCalls() const
{
    std::error_code ignored;
    fs::remove(stateDir_ + "/log", ignored);
}

void FakeSystemctl::setFlag(const std::string& name, bool present) const
{
    const std::string path = stateDir_ + "/" + name;
    if (present) {
        [[maybe_unused]] const bool written = writeWholeFile(path, "");
    } else {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
}

bool FakeSystemctl::hasFlag(const std::string& name) const
{
    std::error_code ignored;
    return fs::exists(stateDir_ + "/" + name, ignored);
}
