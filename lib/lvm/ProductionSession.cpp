// SPDX-License-Identifier: LGPL-2.1-or-later
// The session of the shipped library: the real system, the system log and the real clock.
// Nothing in the environment can point it elsewhere.
#include "LvmSession.h"

#include <ctime>
#include <syslog.h>

namespace {

[[nodiscard]] SystemPaths systemPaths()
{
    return {"/usr/sbin/lvm", "/proc/self/mountinfo", "/sys", "/boot"};
}

// Failures and changes go to the system log only: the tool's standard output and error are
// its own.
void writeToSystemLog(int priority, const std::string& message)
{
    ::openlog("libnorvasnapshots", LOG_PID, LOG_DAEMON);
    ::syslog(priority, "%s", message.c_str());
    ::closelog();
}

[[nodiscard]] uint64_t systemClock()
{
    return static_cast<uint64_t>(std::time(nullptr));
}

} // namespace

LvmSession& currentSession()
{
    // The one piece of process-wide state of the library, made on first use.
    static LvmSession session(systemPaths(), writeToSystemLog, systemClock);
    return session;
}
