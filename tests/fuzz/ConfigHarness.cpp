#include "ConfigHarness.h"

#include "config/ConfigFile.h"

#include <cstdint>
#include <limits>
#include <sstream>

namespace {

std::string describe(const ScriptConfig& config)
{
    std::ostringstream text;
    text << "{" << config.script << ", " << config.lifetime << ", " << config.quantity << ", "
         << config.snapshotSize << "}";
    return text.str();
}

} // namespace

std::string configTextProblem(std::string_view text)
{
    ScriptConfig read;
    try {
        read = parseConfig(text);
    } catch (...) {
        return "reading the text threw";
    }
    ScriptConfig expected = read;
    if (expected.snapshotSize > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
        expected.snapshotSize = 0;
    }
    const std::string saved = serializeConfig(read);
    const ScriptConfig reread = parseConfig(saved);
    if (reread != expected) {
        return "the record " + describe(read) + " was saved as " + saved + " and read back as " +
               describe(reread);
    }
    return {};
}
