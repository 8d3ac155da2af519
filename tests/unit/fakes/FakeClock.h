#pragma once

#include <cstdint>

// The clock unit tests run on: currentTime() answers what the test set. A fixture that owns a
// FakeClock starts every test at the same moment.
class FakeClock {
public:
    // 2023-11-14 22:13:20 UTC: late enough that ages of many days never reach back past 0.
    static constexpr uint64_t kStart = 1'700'000'000;
    static constexpr uint64_t kDay = 86'400;

    FakeClock() { set(kStart); }
    explicit FakeClock(uint64_t start) { set(start); }
    ~FakeClock() { set(kStart); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    static void set(uint64_t now);
    static void advance(uint64_t seconds);
    static void advanceDays(uint64_t days) { advance(days * kDay); }
    [[nodiscard]] static uint64_t now();
};
