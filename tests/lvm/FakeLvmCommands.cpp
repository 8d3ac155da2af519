// What the fake lvm does for each command that changes the VG (see FakeLvm.cpp).
#include "FakeLvmCommands.h"

#include <algorithm>
#include <iostream>

namespace {

// The value after `option`, or empty.
[[nodiscard]] std::string valueOf(const std::vector<std::string>& args, const std::string& option)
{
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == option) {
            return args[i + 1];
        }
    }
    return {};
}

[[nodiscard]] bool has(const std::vector<std::string>& args, const std::string& option)
{
    return std::find(args.begin(), args.end(), option) != args.end();
}

[[nodiscard]] std::string lvNameOf(const std::string& target)
{
    return target.substr(target.find('/') + 1);
}

// 32 characters, as LVM's, different for every LV the fake makes.
[[nodiscard]] std::string newUuid(FakeLvmState& state)
{
    std::string number = std::to_string(state.lvs().size()) + std::to_string(state.newTime());
    return std::string(32 - number.size(), 'S') + number;
}

} // namespace

int fakeFailure(const std::string& message, int status)
{
    std::cerr << "  " << message << "\n";
    return status;
}

int fakeCreate(FakeLvmState& state, const std::vector<std::string>& args)
{
    const std::string name = valueOf(args, "-n");
    const uint64_t extents = std::stoull(valueOf(args, "-l"));
    const std::string origin = lvNameOf(args.back());
    if (state.findLv(origin) == nullptr) {
        return fakeFailure("Failed to find logical volume \"" + args.back() + "\"");
    }
    if (state.findLv(name) != nullptr) {
        return fakeFailure("Logical Volume \"" + name + "\" already exists in volume group");
    }
    if (state.freeExtents() < extents) {
        return fakeFailure("Volume group has insufficient free space (" +
                           std::to_string(state.freeExtents()) +
                           " extents): " + std::to_string(extents) + " required.");
    }
    boost::json::array tags;
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--addtag") {
            tags.push_back(boost::json::string(args[i + 1]));
        }
    }
    state.lvs().push_back(boost::json::object{{"name", name},
                                              {"uuid", newUuid(state)},
                                              {"extents", extents},
                                              {"origin", origin},
                                              {"time", std::to_string(state.newTime())},
                                              {"percent", "0.01"},
                                              {"tags", tags}});
    std::cout << "  Logical volume \"" << name << "\" created.\n";
    return 0;
}

int fakeResize(FakeLvmState& state, const std::vector<std::string>& args)
{
    boost::json::object* lv = state.findLv(lvNameOf(args.back()));
    if (lv == nullptr) {
        return fakeFailure("Failed to find logical volume \"" + args.back() + "\"");
    }
    const uint64_t extents = std::stoull(valueOf(args, "-l"));
    const uint64_t current = numberOf(lv->at("extents"));
    if (extents < current && !has(args, "-y")) {
        return fakeFailure("Logical volume " + args.back() + " NOT reduced.");
    }
    if (extents > current && extents - current > state.freeExtents()) {
        return fakeFailure("Insufficient free space: " + std::to_string(extents - current) +
                           " extents needed, but only " + std::to_string(state.freeExtents()) +
                           " available");
    }
    (*lv)["extents"] = extents;
    return 0;
}

int fakeRetag(FakeLvmState& state, const std::vector<std::string>& args)
{
    boost::json::object* lv = state.findLv(lvNameOf(args.back()));
    if (lv == nullptr) {
        return fakeFailure("Failed to find logical volume \"" + args.back() + "\"");
    }
    boost::json::array kept;
    const std::string dropped = valueOf(args, "--deltag");
    for (const auto& tag : (*lv)["tags"].as_array()) {
        if (tag.as_string() != dropped) {
            kept.push_back(tag);
        }
    }
    kept.push_back(boost::json::string(valueOf(args, "--addtag")));
    (*lv)["tags"] = kept;
    return 0;
}

int fakeRemove(FakeLvmState& state, const std::vector<std::string>& args)
{
    const std::string name = lvNameOf(args.back());
    if (!has(args, "-y")) {
        return fakeFailure("Logical volume " + args.back() + " not removed.");
    }
    auto& lvs = state.lvs();
    const size_t before = lvs.size();
    // As LVM does, removing an origin takes its snapshots with it.
    for (size_t i = lvs.size(); i-- > 0;) {
        const auto& lv = lvs[i].as_object();
        if (lv.at("name").as_string() == name || lv.at("origin").as_string() == name) {
            lvs.erase(lvs.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return lvs.size() == before
               ? fakeFailure("Failed to find logical volume \"" + args.back() + "\"")
               : 0;
}
