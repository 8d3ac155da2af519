// A stand-in for lvm: answers lvs, lvcreate, lvresize, lvchange and lvremove as LVM 2.03 does
// for classic snapshots, from a state file beside it (link it as DIR/lvm, state in DIR/state):
//
//   vg NAME UUID EXTENT_SIZE EXTENT_COUNT CLOCK
//   lv NAME UUID EXTENTS ORIGIN_UUID|- TIME|- PERCENT|- FLAGS|- SEGMENTS TAGS|-
//
// FLAGS: I (invalid), M (merging back into its origin). Like LVM it prints an LV once per
// segment when a segment field is asked for, and a grown LV gets a segment more. Each call
// appends its arguments (tab-separated) to DIR/calls and its environment, open descriptors and
// standard input to DIR/child; a file DIR/fail-COMMAND makes COMMAND fail (status, message).
#include <algorithm>
#include <boost/json/serialize.hpp>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;
namespace fs = std::filesystem;
using Args = std::vector<std::string>;

namespace {

struct Lv {
    std::string name, uuid;
    uint64_t extents = 0;
    std::string origin = "-", time = "-", percent = "-", flags = "-";
    int segments = 1;
    std::string tags = "-";
};

struct State {
    std::string vg, vgUuid;
    uint64_t extentSize = 0, extentCount = 0, clock = 0;
    std::vector<Lv> lvs;

    Lv* find(const std::string& target) // NAME or VG/NAME
    {
        const std::string name = target.substr(target.find('/') + 1);
        auto it =
            std::find_if(lvs.begin(), lvs.end(), [&](const Lv& lv) { return lv.name == name; });
        return it == lvs.end() ? nullptr : &*it;
    }
    uint64_t freeExtents() const
    {
        uint64_t used = 0;
        for (const Lv& lv : lvs) {
            used += lv.extents;
        }
        return extentCount - used;
    }
};

std::string blank(const std::string& word)
{
    return word == "-" ? "" : word;
}
bool has(const std::string& flags, char flag)
{
    return flags.find(flag) != std::string::npos;
}

std::string value(const Args& args, const std::string& option)
{
    const auto it = std::find(args.begin(), args.end(), option);
    return it == args.end() || it + 1 == args.end() ? std::string() : *(it + 1);
}

std::string dashed(const std::string& uuid)
{
    if (uuid.size() != 32) {
        return uuid;
    }
    return uuid.substr(0, 6) + "-" + uuid.substr(6, 4) + "-" + uuid.substr(10, 4) + "-" +
           uuid.substr(14, 4) + "-" + uuid.substr(18, 4) + "-" + uuid.substr(22, 4) + "-" +
           uuid.substr(26);
}

int fail(const std::string& message, int status = 5)
{
    std::cerr << "  " << message << "\n";
    return status;
}

std::string attr(const State& state, const Lv& lv)
{
    if (lv.origin != "-") {
        return std::string("swi-") + (has(lv.flags, 'I') ? "I" : "a") + "-s---";
    }
    char type = '-';
    for (const Lv& other : state.lvs) {
        if (other.origin == lv.uuid) {
            type = has(other.flags, 'M') ? 'O' : (type == 'O' ? 'O' : 'o');
        }
    }
    return std::string(1, type) + "wi-ao" + (type == '-' ? "----" : "s---");
}

int report(State& state, const Args& args)
{
    std::vector<std::string> fields;
    std::istringstream list(value(args, "-o"));
    for (std::string field; std::getline(list, field, ',');) {
        fields.push_back(field);
    }
    const bool perSegment = std::any_of(fields.begin(), fields.end(), [](const std::string& f) {
        return f == "chunk_size" || f.rfind("seg_", 0) == 0;
    });
    boost::json::array rows;
    for (const Lv& lv : state.lvs) {
        if (has(lv.flags, 'M')) {
            continue; // LVM hides a snapshot that is merging back
        }
        const Lv* origin = nullptr;
        for (const Lv& other : state.lvs) {
            origin = other.uuid == lv.origin ? &other : origin;
        }
        const std::string tags = blank(lv.tags);
        const boost::json::object all{
            {"lv_name", lv.name},
            {"vg_name", state.vg},
            {"lv_uuid", dashed(lv.uuid)},
            {"vg_uuid", dashed(state.vgUuid)},
            {"origin", origin ? origin->name : ""},
            {"origin_uuid", origin ? dashed(origin->uuid) : ""},
            {"lv_attr", attr(state, lv)},
            {"lv_size", std::to_string(lv.extents * state.extentSize)},
            {"origin_size", origin ? std::to_string(origin->extents * state.extentSize) : ""},
            {"lv_time", blank(lv.time)},
            {"snap_percent", blank(lv.percent)},
            {"data_percent", blank(lv.percent)},
            {"lv_tags", tags},
            {"chunk_size", origin ? "4096" : "0"},
            {"vg_extent_size", std::to_string(state.extentSize)},
            {"vg_free_count", std::to_string(state.freeExtents())}};
        boost::json::object row;
        for (const std::string& field : fields) {
            if (!all.contains(field)) {
                return fail("Unrecognised field: " + field, 3);
            }
            row[field] = all.at(field);
        }
        for (int segment = 0; segment < (perSegment ? lv.segments : 1); ++segment) {
            rows.push_back(row);
        }
    }
    const boost::json::object top{
        {"report", boost::json::array{boost::json::object{{"lv", rows}}}}};
    std::cout << "  " << boost::json::serialize(top) << "\n";
    return 0;
}

int create(State& state, const Args& args)
{
    const Lv* origin = state.find(args.back());
    const std::string name = value(args, "-n");
    const uint64_t extents = std::stoull(value(args, "-l"));
    if (origin == nullptr || state.find(name) != nullptr || value(args, "-s").empty()) {
        return fail("Cannot create " + name + " of " + args.back());
    }
    if (attr(state, *origin)[0] == 'O') {
        return fail("Snapshots of an origin that has a merging snapshot is not supported");
    }
    if (state.freeExtents() < extents) {
        return fail("Volume group \"" + state.vg + "\" has insufficient free space (" +
                    std::to_string(state.freeExtents()) + " extents): " + std::to_string(extents) +
                    " required.");
    }
    std::string tags;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        tags += args[i] == "--addtag" ? (tags.empty() ? "" : ",") + args[i + 1] : "";
    }
    const std::string uuid = "N" + std::string(25, '0') + std::to_string(100000 + state.lvs.size());
    const uint64_t now = state.clock == 0 ? static_cast<uint64_t>(std::time(nullptr)) : state.clock;
    state.lvs.push_back({name, uuid, extents, origin->uuid, std::to_string(now), "0.01", "-", 1,
                         tags.empty() ? "-" : tags});
    return 0;
}

int resize(State& state, const Args& args)
{
    Lv* lv = state.find(args.back());
    const uint64_t extents = std::stoull(value(args, "-l"));
    if (lv == nullptr) {
        return fail("Failed to find logical volume \"" + args.back() + "\"");
    }
    if (extents < lv->extents && std::find(args.begin(), args.end(), "-y") == args.end()) {
        return fail("Logical volume " + args.back() + " NOT reduced.");
    }
    if (extents > lv->extents && extents - lv->extents > state.freeExtents()) {
        return fail("Insufficient free space: " + std::to_string(extents - lv->extents) +
                    " extents needed, but only " + std::to_string(state.freeExtents()) +
                    " available");
    }
    lv->segments += extents > lv->extents ? 1 : 0;
    lv->extents = extents;
    return 0;
}

int retag(State& state, const Args& args)
{
    Lv* lv = state.find(args.back());
    if (lv == nullptr) {
        return fail("Failed to find logical volume \"" + args.back() + "\"");
    }
    std::string kept;
    std::istringstream tags(blank(lv->tags));
    for (std::string tag; std::getline(tags, tag, ',');) {
        kept += tag == value(args, "--deltag") ? "" : (kept.empty() ? "" : ",") + tag;
    }
    const std::string added = value(args, "--addtag");
    kept += added.empty() ? "" : (kept.empty() ? "" : ",") + added;
    lv->tags = kept.empty() ? "-" : kept;
    return 0;
}

int remove(State& state, const Args& args)
{
    const Lv* lv = state.find(args.back());
    if (lv == nullptr) {
        return fail("Failed to find logical volume \"" + args.back() + "\"");
    }
    if (std::find(args.begin(), args.end(), "-y") == args.end()) {
        return fail("Logical volume " + args.back() + " not removed.");
    }
    const std::string uuid = lv->uuid; // an origin goes with its snapshots, as in LVM
    std::erase_if(state.lvs,
                  [&](const Lv& each) { return each.uuid == uuid || each.origin == uuid; });
    return 0;
}

void record(const fs::path& dir, const Args& args)
{
    // Counted before this program opens anything itself (the iterator takes one).
    const auto fds =
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    std::ofstream calls(dir / "calls", std::ios::app);
    for (size_t i = 1; i < args.size(); ++i) {
        calls << (i > 1 ? "\t" : "") << args[i];
    }
    calls << "\n";
    std::ofstream child(dir / "child");
    for (char** entry = environ; *entry != nullptr; ++entry) {
        child << "env " << *entry << "\n";
    }
    child << "fds " << fds << "\nstdin " << fs::read_symlink("/proc/self/fd/0").string() << "\n";
}

} // namespace

int main(int argc, char** argv)
{
    const Args args(argv, argv + argc);
    const fs::path dir = fs::path(args[0]).parent_path();
    record(dir, args);
    if (std::ifstream failure{dir / ("fail-" + (argc > 1 ? args[1] : ""))}) {
        int status = 5;
        failure >> status;
        std::cerr << failure.rdbuf();
        return status;
    }
    State state;
    std::ifstream in(dir / "state");
    for (std::string kind; in >> kind;) {
        if (kind == "vg") {
            in >> state.vg >> state.vgUuid >> state.extentSize >> state.extentCount >> state.clock;
        } else {
            Lv lv;
            in >> lv.name >> lv.uuid >> lv.extents >> lv.origin >> lv.time >> lv.percent >>
                lv.flags >> lv.segments >> lv.tags;
            state.lvs.push_back(lv);
        }
    }
    using Command = int (*)(State&, const Args&);
    const std::pair<std::string, Command> commands[] = {{"lvs", report},
                                                        {"lvcreate", create},
                                                        {"lvresize", resize},
                                                        {"lvchange", retag},
                                                        {"lvremove", remove}};
    for (const auto& [name, command] : commands) {
        if (argc > 2 && args[1] == name) {
            const int status = command(state, args);
            std::ofstream out(dir / "state");
            out << "vg " << state.vg << " " << state.vgUuid << " " << state.extentSize << " "
                << state.extentCount << " " << state.clock << "\n";
            for (const Lv& lv : state.lvs) {
                out << "lv " << lv.name << " " << lv.uuid << " " << lv.extents << " " << lv.origin
                    << " " << lv.time << " " << lv.percent << " " << lv.flags << " " << lv.segments
                    << " " << lv.tags << "\n";
            }
            return status;
        }
    }
    return fail("fake lvm: unknown command", 3);
}
