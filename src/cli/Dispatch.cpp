// SPDX-License-Identifier: GPL-2.0-or-later
#include "automation/RunLock.h"
#include "cli/Messages.h"
#include "cli/Options.h"
#include "cli/Usage.h"

#include <vector>

namespace {

std::vector<option> longOptions()
{
    std::vector<option> options;
    for (const OptionRow& row : kOptionRows) {
        options.push_back({row.longName, row.argument, nullptr, row.shortName});
    }
    options.push_back({nullptr, 0, nullptr, 0});
    return options;
}

const OptionRow* findRow(int shortName)
{
    for (const OptionRow& row : kOptionRows) {
        if (row.shortName == shortName) {
            return &row;
        }
    }
    return nullptr;
}

// The lock is held until the handler has made its last change.
int runExclusively(const OptionRow& row)
{
    const auto lock = RunLock::acquire();
    if (!lock) {
        complain(kBusyMessage);
        return 1;
    }
    return row.handler(optarg);
}

} // namespace

int runOption(int argc, char* argv[])
{
    if (argc != 2 || optind > 1) {
        printUsage();
        return 1;
    }
    const std::vector<option> options = longOptions();
    const int result = getopt_long(2, argv, kShortOptions, options.data(), nullptr);
    if (result == -1) {
        return 0;
    }
    if (result == '?') {
        printUsage();
        return 1;
    }
    if (const OptionRow* row = findRow(result)) {
        return row->exclusive ? runExclusively(*row) : row->handler(optarg);
    }
    complain(trNoop("Undefined error."));
    return 1;
}
