// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/Messages.h"

#include "text/Translate.h"

#include <iostream>

void say(const char* messageId)
{
    std::cout << tr(messageId) << std::endl;
}

void complain(const char* messageId)
{
    std::cerr << tr(messageId) << std::endl;
}
