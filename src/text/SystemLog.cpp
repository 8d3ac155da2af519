// SPDX-License-Identifier: GPL-2.0-or-later
#include "text/SystemLog.h"

#include <syslog.h>

void logLine(LogLevel level, const std::string& line)
{
    ::openlog("norva-snapshots-manager", LOG_PID, LOG_DAEMON);
    ::syslog(static_cast<int>(level), "%s", line.c_str());
}
