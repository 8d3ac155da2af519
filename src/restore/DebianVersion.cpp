// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/DebianVersion.h"

#include <cctype>
#include <cstdint>

namespace {

struct Parts {
    uint64_t epoch = 0;
    std::string_view upstream;
    std::string_view revision;
};

[[nodiscard]] Parts split(std::string_view version)
{
    Parts parts;
    if (const size_t colon = version.find(':'); colon != std::string_view::npos) {
        for (const char c : version.substr(0, colon)) {
            parts.epoch = std::isdigit(static_cast<unsigned char>(c)) != 0
                              ? parts.epoch * 10 + static_cast<uint64_t>(c - '0')
                              : parts.epoch;
        }
        version.remove_prefix(colon + 1);
    }
    const size_t dash = version.rfind('-');
    parts.upstream = version.substr(0, dash);
    parts.revision = dash == std::string_view::npos ? std::string_view() : version.substr(dash + 1);
    return parts;
}

[[nodiscard]] bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// dpkg's weight of a character in the non-digit parts: '~' sorts before everything, even the
// end of the part; letters before other characters.
[[nodiscard]] int weight(char c)
{
    if (c == '~') {
        return -1;
    }
    if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
        return c;
    }
    return c + 256;
}

[[nodiscard]] int compareNonDigits(std::string_view& a, std::string_view& b)
{
    while ((!a.empty() && !isDigit(a.front())) || (!b.empty() && !isDigit(b.front()))) {
        const int left = a.empty() || isDigit(a.front()) ? 0 : weight(a.front());
        const int right = b.empty() || isDigit(b.front()) ? 0 : weight(b.front());
        if (left != right) {
            return left - right;
        }
        a.remove_prefix(a.empty() ? 0 : 1);
        b.remove_prefix(b.empty() ? 0 : 1);
    }
    return 0;
}

[[nodiscard]] int compareDigits(std::string_view& a, std::string_view& b)
{
    while (!a.empty() && a.front() == '0') {
        a.remove_prefix(1);
    }
    while (!b.empty() && b.front() == '0') {
        b.remove_prefix(1);
    }
    size_t lengthA = 0;
    size_t lengthB = 0;
    while (lengthA < a.size() && isDigit(a[lengthA])) {
        ++lengthA;
    }
    while (lengthB < b.size() && isDigit(b[lengthB])) {
        ++lengthB;
    }
    // Without leading zeros, the longer number is the larger; equal lengths compare as text.
    const int result = lengthA != lengthB ? (lengthA < lengthB ? -1 : 1)
                                          : a.substr(0, lengthA).compare(b.substr(0, lengthB));
    a.remove_prefix(lengthA);
    b.remove_prefix(lengthB);
    return result;
}

[[nodiscard]] int comparePart(std::string_view a, std::string_view b)
{
    while (!a.empty() || !b.empty()) {
        if (const int text = compareNonDigits(a, b); text != 0) {
            return text;
        }
        if (const int number = compareDigits(a, b); number != 0) {
            return number;
        }
    }
    return 0;
}

} // namespace

int compareDebianVersions(std::string_view a, std::string_view b)
{
    const Parts left = split(a);
    const Parts right = split(b);
    if (left.epoch != right.epoch) {
        return left.epoch < right.epoch ? -1 : 1;
    }
    if (const int upstream = comparePart(left.upstream, right.upstream); upstream != 0) {
        return upstream;
    }
    return comparePart(left.revision, right.revision);
}
