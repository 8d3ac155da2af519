// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/Formatting.h"

#include "text/Translate.h"

#include <array>
#include <ctime>

namespace {

using Count = unsigned long long;

} // namespace

std::string timeText(uint64_t seconds)
{
    const auto time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    std::array<char, 32> text{};
    if (seconds == 0 || ::localtime_r(&time, &parts) == nullptr ||
        std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M:%S", &parts) == 0) {
        return tr("unknown");
    }
    return text.data();
}

std::string ageText(uint64_t seconds)
{
    constexpr uint64_t kMinute = 60;
    constexpr uint64_t kHour = 60 * kMinute;
    constexpr uint64_t kDay = 24 * kHour;
    if (seconds < kMinute) {
        return formatMessage(trNoop("%llu s"), Count{seconds});
    }
    if (seconds < kHour) {
        return formatMessage(trNoop("%llu min"), Count{seconds / kMinute});
    }
    if (seconds < kDay) {
        return formatMessage(trNoop("%llu h %llu min"), Count{seconds / kHour},
                             Count{seconds % kHour / kMinute});
    }
    return formatMessage(trNoop("%llu d %llu h"), Count{seconds / kDay},
                         Count{seconds % kDay / kHour});
}

std::string sizeText(uint64_t bytes)
{
    static constexpr std::array<const char*, 6> kUnits{trNoop("%llu B"), trNoop("%s KiB"),
                                                       trNoop("%s MiB"), trNoop("%s GiB"),
                                                       trNoop("%s TiB"), trNoop("%s PiB")};
    if (bytes < 1024) {
        return formatMessage(kUnits[0], Count{bytes});
    }
    size_t unit = 1;
    uint64_t scale = 1024;
    while (unit + 1 < kUnits.size() && bytes / scale >= 1024) {
        scale *= 1024;
        ++unit;
    }
    // Tenths, rounded half up; from 10 on whole numbers, and no ".0".
    const uint64_t tenths = bytes / scale * 10 + (bytes % scale * 10 + scale / 2) / scale;
    std::string number = std::to_string(tenths >= 100 ? (tenths + 5) / 10 : tenths / 10);
    if (tenths < 100 && tenths % 10 != 0) {
        number += "." + std::to_string(tenths % 10);
    }
    return formatMessage(kUnits[unit], number.c_str());
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words) {
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}
