// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/Output.h"

#include <iostream>
#include <syslog.h>

namespace {

void journal(int priority, const std::string& line)
{
    ::openlog("norva-snapshots-restore", LOG_PID, LOG_DAEMON);
    ::syslog(priority, "%s", line.c_str());
}

} // namespace

void tell(const std::string& line)
{
    std::cout << line << std::endl;
}

int refuse(const std::string& why)
{
    std::cerr << "norva-snapshots-restore: " << why << std::endl;
    journal(LOG_ERR, why);
    return 1;
}

void warn(const std::string& line)
{
    std::cerr << "norva-snapshots-restore: " << line << std::endl;
    journal(LOG_WARNING, line);
}

void record(const std::string& line)
{
    journal(LOG_NOTICE, line);
}
