// SPDX-License-Identifier: GPL-2.0-or-later
#include "config/ConfigFile.h"

#include "config/AtomicFile.h"
#include "config/ConfigPath.h"
#include "text/Translate.h"

#include <boost/json.hpp>
#include <cerrno>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <fcntl.h>
#include <istream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kScriptKey = "script";
constexpr const char* kLifetimeKey = "lifetime";
constexpr const char* kQuantityKey = "quantity";
constexpr const char* kSizeKey = "size";

// What a value that is not an integer is, for the log.
const char* kindOf(const boost::json::value& value)
{
    switch (value.kind()) {
    case boost::json::kind::string:
        return trNoop("a string");
    case boost::json::kind::uint64:
        return trNoop("an integer above 9223372036854775807");
    case boost::json::kind::double_:
        return trNoop("a number with a fraction or an exponent");
    case boost::json::kind::bool_:
        return trNoop("true or false");
    case boost::json::kind::array:
        return trNoop("an array");
    case boost::json::kind::object:
        return trNoop("an object");
    default:
        return trNoop("null");
    }
}

void note(std::vector<std::string>* problems, const std::string& problem)
{
    if (problems != nullptr) {
        problems->push_back(problem);
    }
}

// Only numbers the parser holds as signed 64-bit integers count: fractions, exponents,
// integers above 2^63-1 and every other kind of value read as 0.
int64_t integerMember(const boost::json::object& root, const char* key,
                      std::vector<std::string>* problems)
{
    const auto* value = root.if_contains(key);
    if (value != nullptr && value->is_int64()) {
        return value->get_int64();
    }
    if (value != nullptr) {
        note(problems, formatMessage(trNoop("the key \"%s\" holds %s, not an integer"), key,
                                     tr(kindOf(*value))));
    } else if (std::string_view(key) == kScriptKey) {
        note(problems, tr("there is no key \"script\""));
    }
    return 0;
}

// Keeps the low 32 bits, as a hand-edited value out of the int32 range would be stored.
int32_t lowWord(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

ScriptConfig mapObject(const boost::json::object& root, std::vector<std::string>* problems)
{
    ScriptConfig config;
    config.script = lowWord(integerMember(root, kScriptKey, problems));
    config.lifetime = lowWord(integerMember(root, kLifetimeKey, problems));
    config.quantity = lowWord(integerMember(root, kQuantityKey, problems));
    config.snapshotSize = static_cast<uint64_t>(integerMember(root, kSizeKey, problems));
    return config;
}

} // namespace

std::string serializeConfig(const ScriptConfig& config)
{
    boost::json::object root;
    root[kScriptKey] = static_cast<int64_t>(config.script);
    root[kLifetimeKey] = static_cast<int64_t>(config.lifetime);
    root[kQuantityKey] = static_cast<int64_t>(config.quantity);
    root[kSizeKey] = config.snapshotSize;
    return boost::json::serialize(root) + '\n';
}

ScriptConfig parseConfig(std::istream& input, std::vector<std::string>* problems)
{
    try {
        boost::json::error_code error;
        const boost::json::value root = boost::json::parse(input, error);
        if (error || !root.is_object()) {
            note(problems, tr("it is not one JSON object"));
            return {};
        }
        return mapObject(root.get_object(), problems);
    } catch (...) {
        // Running out of memory on a hostile file is one more unreadable configuration.
        return {};
    }
}

ScriptConfig parseConfig(std::string_view text)
{
    std::istringstream input{std::string(text)};
    return parseConfig(input);
}

ScriptConfig loadConfigFrom(const char* path, std::vector<std::string>* problems)
{
    // Opened without blocking and read only when it is a regular file: a named pipe at the path
    // would otherwise hang the timer's check, and with it the run lock, until a writer came.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        note(problems, errno == ENOENT ? std::string(tr("it does not exist"))
                                       : formatMessage(trNoop("it cannot be opened: %s"),
                                                       std::strerror(errno)));
        return {};
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        note(problems, tr("it is not a regular file"));
        return {};
    }
    __gnu_cxx::stdio_filebuf<char> buffer(fd, std::ios::in | std::ios::binary);
    std::istream file(&buffer);
    return parseConfig(file, problems);
}

bool saveConfigTo(const ScriptConfig& config, const char* path)
{
    try {
        return replaceFileAtomically(path, serializeConfig(config));
    } catch (...) {
        return false;
    }
}

ScriptConfig loadConfig(std::vector<std::string>* problems)
{
    return loadConfigFrom(configFilePath(), problems);
}

bool saveConfig(const ScriptConfig& config)
{
    return saveConfigTo(config, configFilePath());
}
