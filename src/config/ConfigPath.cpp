// SPDX-License-Identifier: GPL-2.0-or-later
#include "config/ConfigPath.h"

const char* configFilePath()
{
    return "/etc/norva-snapshots-manager.conf";
}
