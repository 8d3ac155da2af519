#include "FakeLvmState.h"

#include <boost/json/parse.hpp>
#include <boost/json/serialize.hpp>
#include <ctime>
#include <fstream>
#include <sstream>

namespace {

// LVM prints uuids as 6-4-4-4-4-4-6 characters.
[[nodiscard]] std::string dashed(const std::string& uuid)
{
    std::string text;
    const size_t groups[] = {6, 4, 4, 4, 4, 4, 6};
    size_t at = 0;
    for (const size_t length : groups) {
        if (!text.empty()) {
            text.push_back('-');
        }
        text += uuid.substr(at, length);
        at += length;
    }
    return text;
}

[[nodiscard]] std::string text(const boost::json::object& lv, const char* key)
{
    const boost::json::value* value = lv.if_contains(key);
    return value != nullptr && value->is_string() ? std::string(value->as_string().c_str())
                                                  : std::string();
}

[[nodiscard]] bool hasSnapshots(const boost::json::array& lvs, const std::string& name)
{
    for (const auto& lv : lvs) {
        if (text(lv.as_object(), "origin") == name) {
            return true;
        }
    }
    return false;
}

} // namespace

uint64_t numberOf(const boost::json::value& value)
{
    return value.is_int64() ? static_cast<uint64_t>(value.as_int64()) : value.to_number<uint64_t>();
}

FakeLvmState::FakeLvmState(std::string directory) : directory_(std::move(directory)) {}

bool FakeLvmState::load()
{
    std::ifstream file(directory_ + "/state.json");
    std::ostringstream bytes;
    bytes << file.rdbuf();
    boost::system::error_code error;
    boost::json::value value = boost::json::parse(bytes.str(), error);
    if (error || !value.is_object()) {
        return false;
    }
    state_ = value.as_object();
    return true;
}

void FakeLvmState::save() const
{
    std::ofstream(directory_ + "/state.json") << boost::json::serialize(state_);
}

boost::json::object* FakeLvmState::findLv(const std::string& name)
{
    for (auto& lv : lvs()) {
        if (text(lv.as_object(), "name") == name) {
            return &lv.as_object();
        }
    }
    return nullptr;
}

uint64_t FakeLvmState::freeExtents()
{
    uint64_t used = 0;
    for (const auto& lv : lvs()) {
        used += numberOf(lv.as_object().at("extents"));
    }
    return numberOf(vg().at("extent_count")) - used;
}

uint64_t FakeLvmState::newTime() const
{
    const boost::json::value* clock = state_.if_contains("clock");
    return clock != nullptr ? numberOf(*clock) : static_cast<uint64_t>(std::time(nullptr));
}

std::string FakeLvmState::report()
{
    const uint64_t extentSize = numberOf(vg().at("extent_size"));
    const std::string vgName = text(vg(), "name");
    const std::string vgUuid = text(vg(), "uuid");
    const uint64_t freeCount = freeExtents();
    boost::json::array rows;
    for (const auto& entry : lvs()) {
        const auto& lv = entry.as_object();
        const std::string origin = text(lv, "origin");
        const bool snapshot = !origin.empty();
        const bool invalid = lv.contains("invalid") && lv.at("invalid").as_bool();
        std::string attr =
            snapshot ? (invalid ? "swi-I-s---" : "swi-a-s---")
                     : (hasSnapshots(lvs(), text(lv, "name")) ? "owi-aos---" : "-wi-ao----");
        std::string tags;
        if (const auto* list = lv.if_contains("tags")) {
            for (const auto& tag : list->as_array()) {
                tags += (tags.empty() ? "" : ",") + std::string(tag.as_string().c_str());
            }
        }
        const boost::json::object* originLv = snapshot ? findLv(origin) : nullptr;
        const uint64_t originSize =
            originLv == nullptr ? 0 : numberOf(originLv->at("extents")) * extentSize;
        const uint64_t chunk = lv.contains("chunk") ? numberOf(lv.at("chunk")) : 0;
        rows.push_back(boost::json::object{
            {"lv_name", text(lv, "name")},
            {"vg_name", vgName},
            {"lv_uuid", dashed(text(lv, "uuid"))},
            {"vg_uuid", dashed(vgUuid)},
            {"lv_attr", attr},
            {"lv_size", std::to_string(numberOf(lv.at("extents")) * extentSize)},
            {"origin", origin},
            {"origin_size", snapshot ? std::to_string(originSize) : ""},
            {"lv_time", text(lv, "time")},
            {"snap_percent", snapshot ? text(lv, "percent") : ""},
            {"chunk_size", std::to_string(snapshot ? (chunk == 0 ? 4096 : chunk) : 0)},
            {"lv_tags", tags},
            {"vg_extent_size", std::to_string(extentSize)},
            {"vg_free_count", std::to_string(freeCount)}});
    }
    boost::json::object lvSection{{"lv", rows}};
    boost::json::object top{{"report", boost::json::array{lvSection}}};
    return "  " + boost::json::serialize(top) + "\n";
}
