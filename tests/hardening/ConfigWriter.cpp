// Saves one record to the file named on the command line, as the tool's launch does, and tells
// by its exit status whether the save reported success (0) or failure (3). The crash-safety
// tests run it under strace, which kills it or fails one of its system calls at every step.
#include "config/ConfigFile.h"

#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 6) {
        return 2;
    }
    const ScriptConfig config{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                              std::strtoull(argv[5], nullptr, 10)};
    // Marks in the system call trace where the save begins and where it ends.
    static_cast<void>(::getppid());
    const bool saved = saveConfigTo(config, argv[1]);
    static_cast<void>(::getppid());
    return saved ? 0 : 3;
}
