// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/CommandLine.h"

#include <cstdlib>
#include <sys/wait.h>

int runCommandLine(const char* commandLine)
{
    const int status = std::system(commandLine);
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
