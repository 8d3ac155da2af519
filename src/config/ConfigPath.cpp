#include "config/ConfigPath.h"

const char* configFilePath()
{
    return "/etc/norva-snapshots-manager.conf";
}
