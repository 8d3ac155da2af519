#include "config/ConfigFile.h"

#include "config/AtomicFile.h"
#include "config/ConfigPath.h"

#include <boost/json.hpp>
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

// Only numbers the parser holds as signed 64-bit integers count: fractions, exponents,
// integers above 2^63-1 and every other kind of value read as 0.
int64_t integerMember(const boost::json::object& root, const char* key)
{
    const auto* value = root.if_contains(key);
    if (value == nullptr || !value->is_int64()) {
        return 0;
    }
    return value->get_int64();
}

// Keeps the low 32 bits, as a hand-edited value out of the int32 range would be stored.
int32_t lowWord(int64_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

ScriptConfig mapObject(const boost::json::object& root)
{
    ScriptConfig config;
    config.script = lowWord(integerMember(root, kScriptKey));
    config.lifetime = lowWord(integerMember(root, kLifetimeKey));
    config.quantity = lowWord(integerMember(root, kQuantityKey));
    config.snapshotSize = static_cast<uint64_t>(integerMember(root, kSizeKey));
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

ScriptConfig parseConfig(std::istream& input)
{
    try {
        boost::json::error_code error;
        const boost::json::value root = boost::json::parse(input, error);
        if (error || !root.is_object()) {
            return {};
        }
        return mapObject(root.get_object());
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

ScriptConfig loadConfigFrom(const char* path)
{
    // Opened without blocking and read only when it is a regular file: a named pipe at the path
    // would otherwise hang the timer's check, and with it the run lock, until a writer came.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {};
    }
    __gnu_cxx::stdio_filebuf<char> buffer(fd, std::ios::in | std::ios::binary);
    std::istream file(&buffer);
    return parseConfig(file);
}

bool saveConfigTo(const ScriptConfig& config, const char* path)
{
    try {
        return replaceFileAtomically(path, serializeConfig(config));
    } catch (...) {
        return false;
    }
}

ScriptConfig loadConfig()
{
    return loadConfigFrom(configFilePath());
}

bool saveConfig(const ScriptConfig& config)
{
    return saveConfigTo(config, configFilePath());
}
