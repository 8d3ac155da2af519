#pragma once

#include "fakes/FakeClock.h"

#include <cstdint>
#include <string>

// Entries of the fake library's call log, and times relative to the fixtures' clock.

inline constexpr uint64_t kNow = FakeClock::kStart;

[[nodiscard]] constexpr uint64_t ago(uint64_t seconds)
{
    return kNow - seconds;
}

[[nodiscard]] inline std::string created(uint64_t size)
{
    return "create_lvm_snapshot(" + std::to_string(size) + ")";
}

[[nodiscard]] inline std::string removed(uint64_t id)
{
    return "remove_lvm_snapshot(#" + std::to_string(id) + ")";
}

[[nodiscard]] inline std::string resized(uint64_t id, uint64_t size)
{
    return "resize_lvm_snapshot(#" + std::to_string(id) + "," + std::to_string(size) + ")";
}

[[nodiscard]] inline std::string timeOf(uint64_t id)
{
    return "lvm_snapshot_creation_time(#" + std::to_string(id) + ")";
}

[[nodiscard]] inline std::string fillingOf(uint64_t id)
{
    return "lvm_snapshot_filling_percent(#" + std::to_string(id) + ")";
}
