// SPDX-License-Identifier: GPL-2.0-or-later
#include "BenchScenarios.h"

namespace {

constexpr uint64_t kDay = 86400;
constexpr uint64_t kRootSize = kBenchRootExtents * kBenchExtent;
constexpr uint64_t kFullExtents = 129;
constexpr uint64_t kQueueSize = 397588561; // what launching script 5 with 4 snapshots fixes
constexpr uint64_t kQueueExtents = 94;

[[nodiscard]] std::string config(int script, int lifetime, int quantity = 0, uint64_t size = 0)
{
    return "{\"script\":" + std::to_string(script) + ",\"lifetime\":" + std::to_string(lifetime) +
           ",\"quantity\":" + std::to_string(quantity) + ",\"size\":" + std::to_string(size) + "}";
}

[[nodiscard]] BenchSnapshot full(const std::string& name, uint64_t age)
{
    return {name, kFullExtents, age, kRootSize};
}

[[nodiscard]] BenchSnapshot queued(const std::string& name, uint64_t age)
{
    return {name, kQueueExtents, age, kQueueSize};
}

} // namespace

std::vector<BenchScenario> benchScenarios()
{
    const std::vector<std::string> check{"-c"};
    return {
        {"-h (baseline)", "", {}, {"-h"}, ""},
        {"script 1, steady -c", config(1, 0), {full("f", 60)}, check, ""},
        {"script 2, steady -c", config(2, 3), {full("f", 60)}, check, ""},
        {"script 3, steady -c", config(3, 0), {full("f", 60)}, check, ""},
        {"script 4, steady -c", config(4, 3), {full("f", 60)}, check, ""},
        {"script 5, steady -c",
         config(5, 1, 4, kQueueSize),
         {queued("q1", 2 * kDay + 60), queued("q2", kDay + 60), queued("q3", 60)},
         check,
         ""},
        {"script 6, steady -c",
         config(6, 1),
         {full("f", 600), {"a", 40, 60, 40 * kBenchExtent}},
         check,
         ""},
        {"script 2, rotation -c", config(2, 3), {full("f", 3 * kDay + 60)}, check, ""},
        {"script 5, rotation -c (full queue)",
         config(5, 1, 3, kQueueSize),
         {queued("q1", 3 * kDay), queued("q2", 2 * kDay), queued("q3", kDay)},
         check,
         ""},
        {"script 6, rotation -c",
         config(6, 1),
         {full("f", 2 * kDay), {"a", 40, kDay - 60, 40 * kBenchExtent}},
         check,
         ""},
        {"script 1, launch -s1", "", {full("old", 60)}, {"-s1"}, ""},
        {"purge -p", config(1, 0), {full("f", 60), full("g", 30)}, {"-p"}, ""},
    };
}
