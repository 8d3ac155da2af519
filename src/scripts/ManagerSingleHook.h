// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "scripts/ManagerSingle.h"

// Script 3: script 1 plus a trigger that stops the automation and adds a second snapshot.
class ManagerSingleHook : public ManagerSingle {
public:
    using ManagerSingle::ManagerSingle;

    [[nodiscard]] bool trigger() override { return stopCheckAndAddSnapshot(); }
};
