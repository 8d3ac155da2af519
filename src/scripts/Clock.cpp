// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/Clock.h"

#include <ctime>

uint64_t currentTime()
{
    return static_cast<uint64_t>(std::time(nullptr));
}
