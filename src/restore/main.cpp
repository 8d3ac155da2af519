// SPDX-License-Identifier: GPL-2.0-or-later
// norva-snapshots-restore: what an administrator does with the restore points that
// norva-snapshots-manager keeps: list them, see what changed since one, roll back to one, boot
// into one to look around.
#include "restore/Commands.h"
#include "text/Translate.h"

#include <clocale>
#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[])
{
    std::setlocale(LC_ALL, "");
    bindtextdomain(kTextDomain, kLocaleDirectory);
    textdomain(kTextDomain);
    if (geteuid() != 0) {
        std::cerr << tr("You should run this application with superuser privileges.") << std::endl;
        return 1;
    }
    return runRestoreCommand(argc, argv);
}
