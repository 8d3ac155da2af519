// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/Messages.h"
#include "cli/Options.h"
#include "text/Translate.h"

#include <clocale>
#include <unistd.h>

int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    bindtextdomain(kTextDomain, kLocaleDirectory);
    textdomain(kTextDomain);
    if (geteuid() != 0) {
        complain(trNoop("You should run this application with superuser privileges."));
        return 1;
    }
    return runOption(argc, argv);
}
