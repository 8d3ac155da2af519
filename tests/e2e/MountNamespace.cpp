#include "MountNamespace.h"

#include "ChildProcess.h"

#include <optional>
#include <sys/types.h>
#include <unistd.h>

namespace {

std::optional<std::string> namespaceOf(const std::string& pid)
{
    char target[256] = {};
    const std::string link = "/proc/" + pid + "/ns/mnt";
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0) {
        return std::nullopt;
    }
    return std::string(target, static_cast<size_t>(length));
}

// The parent's pid from /proc/<pid>/stat: the field after the parenthesised command name.
std::optional<std::string> parentOf(const std::string& pid)
{
    const auto stat = readWholeFile("/proc/" + pid + "/stat");
    if (!stat) {
        return std::nullopt;
    }
    const auto close = stat->rfind(')');
    if (close == std::string::npos || close + 4 >= stat->size()) {
        return std::nullopt;
    }
    const auto start = close + 4; // ") S " precedes the parent's pid
    const auto end = stat->find(' ', start);
    return stat->substr(start, end - start);
}

} // namespace

bool mountNamespaceIsPrivate(std::string& reason)
{
    const auto own = namespaceOf("self");
    if (!own) {
        reason = "cannot read /proc/self/ns/mnt";
        return false;
    }
    if (const auto init = namespaceOf("1")) {
        reason = "PID 1 shares mount namespace " + *own;
        return *init != *own;
    }
    // PID 1 is hidden from us (some containers): an ancestor in another namespace shows
    // that we were moved into one of our own.
    auto pid = parentOf("self");
    while (pid && *pid != "0" && *pid != "1") {
        const auto theirs = namespaceOf(*pid);
        if (theirs && *theirs != *own) {
            return true;
        }
        pid = parentOf(*pid);
    }
    reason = "no ancestor in another mount namespace than " + *own +
             "; run under unshare --mount --propagation private";
    return false;
}
