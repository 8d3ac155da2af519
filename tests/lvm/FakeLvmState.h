#pragma once

#include <boost/json/value.hpp>
#include <cstdint>
#include <string>

// The state behind the fake lvm: one VG with its LVs, kept as JSON in state.json in the
// directory of the fake program, so that a test writes it, the fake changes it and the test
// reads the result.
//
//   {"vg": {"name": "vg", "uuid": "...", "extent_size": 4194304, "extent_count": 1023},
//    "clock": 1796549522,                      optional: creation time of new LVs
//    "lvs": [{"name": "root", "uuid": "...", "extents": 128, "origin": "", "time": "...",
//             "percent": "", "invalid": false, "tags": ["..."], "chunk": 0}]}
class FakeLvmState {
public:
    explicit FakeLvmState(std::string directory);

    [[nodiscard]] bool load();
    void save() const;

    [[nodiscard]] boost::json::object& vg() { return state_.at("vg").as_object(); }
    [[nodiscard]] boost::json::array& lvs() { return state_.at("lvs").as_array(); }
    [[nodiscard]] boost::json::object* findLv(const std::string& name);
    [[nodiscard]] uint64_t freeExtents();
    [[nodiscard]] uint64_t newTime() const;

    // The JSON that lvs prints for the VG, every value a string as LVM gives them.
    [[nodiscard]] std::string report();

private:
    std::string directory_;
    boost::json::object state_;
};

[[nodiscard]] uint64_t numberOf(const boost::json::value& value);
