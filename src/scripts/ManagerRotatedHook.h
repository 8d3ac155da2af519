// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ManagerRotated.h"

// Script 4: script 2 plus the trigger of script 3; a rotation that is due happens first.
class ManagerRotatedHook : public ManagerRotated {
public:
    using ManagerRotated::ManagerRotated;

    [[nodiscard]] bool trigger() override { return stopCheckAndAddSnapshot(); }
};
