#include "LvmFixture.h"

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

LvmSession* current = nullptr;

[[nodiscard]] std::string fileText(const std::filesystem::path& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

[[nodiscard]] std::vector<std::string> strings(const boost::json::value& value)
{
    std::vector<std::string> result;
    for (const auto& entry : value.as_array()) {
        result.emplace_back(entry.as_string().c_str());
    }
    return result;
}

} // namespace

LvmSession& currentSession()
{
    return *current;
}

void LvmFixture::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "norva-lvm-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::create_symlink(NORVA_FAKE_LVM, dir_ / "lvm");
    std::ofstream(dir_ / "mountinfo")
        << "22 1 254:1 / /boot rw,relatime - ext4 /dev/vda1 rw\n"
        << "39 1 253:0 / / rw,relatime - ext4 /dev/mapper/vg-root rw\n"
        << "40 39 0:30 / /usr rw,relatime - overlay overlay rw\n";
    const auto dm = dir_ / "sys/dev/block/253:0/dm";
    std::filesystem::create_directories(dm);
    std::ofstream(dm / "name") << "vg-root\n";
    std::ofstream(dm / "uuid") << "LVM-" << kVgUuid << kRootUuid << "\n";
    seed({});
    startNewProcess();
}

void LvmFixture::startNewProcess()
{
    session_ = std::make_unique<LvmSession>(
        SystemPaths{(dir_ / "lvm").string(), (dir_ / "mountinfo").string(), (dir_ / "sys").string(),
                    dir_.string()},
        [this](const std::string& line) { log_.push_back(line); }, [this] { return now_; });
    current = session_.get();
}

void LvmFixture::TearDown()
{
    current = nullptr;
    session_.reset();
    std::filesystem::remove_all(dir_);
}

void LvmFixture::seed(const std::vector<SeedSnapshot>& snapshots, uint64_t extentCount)
{
    boost::json::array lvs{boost::json::object{{"name", "root"},
                                               {"uuid", kRootUuid},
                                               {"extents", kRootExtents},
                                               {"origin", ""},
                                               {"time", "1796540000"}}};
    for (const SeedSnapshot& snapshot : snapshots) {
        boost::json::array tags;
        for (const auto& tag : snapshot.tags) {
            tags.push_back(boost::json::string(tag));
        }
        lvs.push_back(boost::json::object{{"name", snapshot.name},
                                          {"uuid", std::string(32, 'A')},
                                          {"extents", snapshot.extents},
                                          {"origin", snapshot.origin},
                                          {"time", snapshot.time},
                                          {"percent", snapshot.percent},
                                          {"invalid", snapshot.invalid},
                                          {"tags", tags}});
    }
    boost::json::object state{{"vg", boost::json::object{{"name", "vg"},
                                                         {"uuid", kVgUuid},
                                                         {"extent_size", kExtent},
                                                         {"extent_count", extentCount}}},
                              {"clock", kNow},
                              {"lvs", lvs}};
    std::ofstream(dir_ / "state.json") << boost::json::serialize(state);
}

void LvmFixture::failNext(const std::string& command, int status, const std::string& message) const
{
    std::ofstream(dir_ / ("fail-" + command)) << status << "\n" << message;
}

void LvmFixture::makeRootAPlainDisk() const
{
    std::ofstream(dir_ / "mountinfo") << "39 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n";
}

void LvmFixture::removeLvm() const
{
    std::filesystem::remove(dir_ / "lvm");
}

std::vector<LvmCall> LvmFixture::calls() const
{
    std::vector<LvmCall> result;
    std::istringstream lines(fileText(dir_ / "calls.log"));
    for (std::string line; std::getline(lines, line);) {
        const boost::json::object call = boost::json::parse(line).as_object();
        LvmCall entry{strings(call.at("argv")), strings(call.at("env")), strings(call.at("fds")),
                      call.at("stdin").as_string().c_str()};
        entry.argv.erase(entry.argv.begin());
        result.push_back(entry);
    }
    return result;
}

std::vector<std::vector<std::string>> LvmFixture::argvs() const
{
    std::vector<std::vector<std::string>> result;
    for (const LvmCall& call : calls()) {
        result.push_back(call.argv);
    }
    return result;
}

size_t LvmFixture::changeCount() const
{
    size_t count = 0;
    for (const auto& argv : argvs()) {
        count += argv.front() == "lvs" ? 0U : 1U;
    }
    return count;
}

boost::json::object LvmFixture::lvState(const std::string& name) const
{
    const boost::json::value state = boost::json::parse(fileText(dir_ / "state.json"));
    for (const auto& lv : state.at("lvs").as_array()) {
        if (lv.at("name").as_string() == name) {
            return lv.as_object();
        }
    }
    return {};
}

std::vector<std::string> LvmFixture::lvNames() const
{
    std::vector<std::string> names;
    const boost::json::value state = boost::json::parse(fileText(dir_ / "state.json"));
    for (const auto& lv : state.at("lvs").as_array()) {
        names.emplace_back(lv.at("name").as_string().c_str());
    }
    return names;
}

std::vector<SnapshotHandle> handlesOf(SnapshotList list)
{
    std::vector<SnapshotHandle> handles;
    for (SnapshotHandle* entry = list; *entry != nullptr; ++entry) {
        handles.push_back(*entry);
    }
    return handles;
}
