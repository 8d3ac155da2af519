#include "LvmWorld.h"

#include <fstream>
#include <sstream>

namespace {

LvmSession* current = nullptr;

[[nodiscard]] std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
}

} // namespace

LvmSession& currentSession()
{
    return *current;
}

std::string uuidOf(const std::string& name)
{
    return name + std::string(32 - name.size(), 'u');
}

std::string lv(const std::string& name, uint64_t extents, const std::string& time,
               const std::string& tags, const std::string& flags, const std::string& percent,
               int segments, const std::string& origin)
{
    return "lv " + name + " " + uuidOf(name) + " " + std::to_string(extents) + " " + origin + " " +
           time + " " + percent + " " + flags + " " + std::to_string(segments) + " " + tags + "\n";
}

std::string ours(const std::string& name, uint64_t extents, uint64_t time, uint64_t sequence,
                 uint64_t asked, int segments)
{
    return lv(name, extents, std::to_string(time),
              "norvasnap,norvasnap_size_" + std::to_string(asked == 0 ? kRootSize : asked) +
                  ",norvasnap_seq_" + std::to_string(sequence),
              "-", "0.01", segments);
}

void LvmWorld::SetUp()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "norva-lvm-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::filesystem::create_symlink(NORVA_FAKE_LVM, dir_ / "lvm");
    std::ofstream(dir_ / "mountinfo") << "22 1 254:1 / /boot rw - ext4 /dev/vda1 rw\n"
                                      << "39 1 253:0 / / rw - ext4 /dev/mapper/vg-root rw\n";
    std::filesystem::create_directories(dir_ / "sys/dev/block/253:0/dm");
    std::ofstream(dir_ / "sys/dev/block/253:0/dm/name") << "vg-root\n";
    std::ofstream(dir_ / "sys/dev/block/253:0/dm/uuid") << "LVM-" << kVgUuid << kRootUuid << "\n";
    seed("");
    newProcess();
}

void LvmWorld::newProcess()
{
    session_ = std::make_unique<LvmSession>(
        SystemPaths{(dir_ / "lvm").string(), (dir_ / "mountinfo").string(), (dir_ / "sys").string(),
                    dir_.string()},
        [this](const std::string& line) { log_.push_back(line); }, [] { return kNow; });
    current = session_.get();
}

void LvmWorld::TearDown()
{
    current = nullptr;
    std::filesystem::remove_all(dir_);
}

void LvmWorld::seed(const std::string& lvLines, uint64_t extentCount) const
{
    std::ofstream(dir_ / "state") << "vg vg " << kVgUuid << " " << kExtent << " " << extentCount
                                  << " " << kNow << "\nlv root " << kRootUuid
                                  << " 128 - 1796540000 - - 1 -\n"
                                  << lvLines;
}

void LvmWorld::failNext(const std::string& command, const std::string& statusAndMessage) const
{
    std::ofstream(dir_ / ("fail-" + command)) << statusAndMessage;
}

std::string LvmWorld::file(const std::string& name) const
{
    std::ostringstream text;
    text << std::ifstream(dir_ / name).rdbuf();
    return text.str();
}

std::vector<std::string> LvmWorld::calls() const
{
    return lines(file("calls"));
}

std::vector<std::string> LvmWorld::changes() const
{
    std::vector<std::string> result;
    for (const std::string& call : calls()) {
        if (call.rfind("lvs\t", 0) != 0) {
            result.push_back(call);
        }
    }
    return result;
}

std::vector<std::string> LvmWorld::listed()
{
    std::vector<std::string> names;
    const SnapshotList list = existing_lvm_snapshots();
    for (const SnapshotHandle handle : handlesOf(list)) {
        names.push_back(handle->name);
    }
    free_existing_lvm_snapshots(list);
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
