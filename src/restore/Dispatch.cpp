// SPDX-License-Identifier: GPL-2.0-or-later
#include "restore/Commands.h"
#include "text/Translate.h"

#include <iostream>
#include <string_view>

namespace {

void printUsage(std::ostream& out)
{
    out << tr("Usage: norva-snapshots-restore COMMAND") << '\n';
    for (const CommandRow& row : kCommandRows) {
        out << tr(row.usage) << '\n';
    }
    out << tr("NAME is a restore point as list shows it; see norva-snapshots-restore(8).")
        << std::endl;
}

[[nodiscard]] const CommandRow* findRow(std::string_view name)
{
    for (const CommandRow& row : kCommandRows) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// The words after the command: at most the one name and the row's option, in any order.
[[nodiscard]] bool parseArguments(const CommandRow& row, int argc, char* argv[],
                                  RestoreArguments& arguments)
{
    bool named = false;
    for (int i = 2; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (row.option != nullptr && word == row.option && !arguments.flag) {
            arguments.flag = true;
        } else if (row.takesName && !named && !word.empty() && word.front() != '-') {
            arguments.name = word;
            named = true;
        } else {
            return false;
        }
    }
    return named == row.takesName;
}

} // namespace

int runRestoreCommand(int argc, char* argv[])
{
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (argc == 2 && (command == "-h" || command == "--help")) {
        printUsage(std::cout);
        return 0;
    }
    const CommandRow* row = findRow(command);
    RestoreArguments arguments;
    if (row == nullptr || !parseArguments(*row, argc, argv, arguments)) {
        printUsage(std::cerr);
        return 1;
    }
    return row->handler(arguments);
}
