// SPDX-License-Identifier: LGPL-2.1-or-later
#include "RootDevice.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr std::string_view kLvmUuidPrefix = "LVM-";
constexpr size_t kUuidLength = 32;

[[nodiscard]] std::vector<std::string_view> fields(std::string_view line)
{
    std::vector<std::string_view> result;
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = line.find(' ', start);
        const size_t stop = end == std::string_view::npos ? line.size() : end;
        if (stop > start) {
            result.push_back(line.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return result;
}

[[nodiscard]] std::optional<std::string> readFile(const std::string& path)
{
    std::ifstream file(path);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

[[nodiscard]] std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

std::optional<std::string> rootDeviceNumber(std::string_view mountInfo)
{
    std::optional<std::string> device;
    size_t start = 0;
    while (start < mountInfo.size()) {
        const size_t end = mountInfo.find('\n', start);
        const size_t stop = end == std::string_view::npos ? mountInfo.size() : end;
        const auto parts = fields(mountInfo.substr(start, stop - start));
        if (parts.size() >= 5 && parts[4] == "/") {
            device = std::string(parts[2]);
        }
        start = stop + 1;
    }
    return device;
}

std::optional<RootIdentity> splitDeviceMapperName(std::string_view name)
{
    std::string vg;
    std::string lv;
    std::string* part = &vg;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '-') {
            part->push_back(name[i]);
        } else if (i + 1 < name.size() && name[i + 1] == '-') {
            part->push_back('-');
            ++i;
        } else if (part == &vg) {
            part = &lv;
        } else {
            return std::nullopt; // a layer suffix: not the volume itself
        }
    }
    if (vg.empty() || lv.empty()) {
        return std::nullopt;
    }
    return RootIdentity{vg, lv, {}};
}

std::optional<RootIdentity> identityFromDeviceMapper(std::string_view name, std::string_view uuid)
{
    if (uuid.substr(0, kLvmUuidPrefix.size()) != kLvmUuidPrefix ||
        uuid.size() != kLvmUuidPrefix.size() + 2 * kUuidLength) {
        return std::nullopt;
    }
    auto identity = splitDeviceMapperName(name);
    if (identity) {
        identity->uuid = std::string(uuid.substr(kLvmUuidPrefix.size()));
    }
    return identity;
}

std::optional<RootIdentity> discoverRoot(const SystemPaths& paths, std::string& why)
{
    const auto mountInfo = readFile(paths.mountInfo);
    const auto device = mountInfo ? rootDeviceNumber(*mountInfo) : std::nullopt;
    if (!device) {
        why = "no mount of / in " + paths.mountInfo;
        return std::nullopt;
    }
    const std::string dm = paths.sysfsRoot + "/dev/block/" + *device + "/dm/";
    const auto name = readFile(dm + "name");
    const auto uuid = readFile(dm + "uuid");
    auto identity =
        name && uuid ? identityFromDeviceMapper(trimmed(*name), trimmed(*uuid)) : std::nullopt;
    if (!identity) {
        why = "/ (device " + *device + ") is not an LVM logical volume";
    }
    return identity;
}

std::string withoutDashes(std::string_view uuid)
{
    std::string plain;
    for (const char c : uuid) {
        if (c != '-') {
            plain.push_back(c);
        }
    }
    return plain;
}

std::string withDashes(std::string_view uuid)
{
    // LVM groups its 32 characters 6-4-4-4-4-4-6.
    std::string dashed;
    for (size_t i = 0; i < uuid.size(); ++i) {
        if (i == 6 || (i > 6 && i < 30 && (i - 6) % 4 == 0)) {
            dashed.push_back('-');
        }
        dashed.push_back(uuid[i]);
    }
    return dashed;
}
