#include "automation/CommandLine.h"

#include <cstdlib>

bool runCommandLine(const char* commandLine)
{
    return std::system(commandLine) == 0;
}
