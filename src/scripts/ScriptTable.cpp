// SPDX-License-Identifier: GPL-2.0-or-later
#include "scripts/ScriptTable.h"

#include "scripts/ManagerDouble.h"
#include "scripts/ManagerQueue.h"
#include "scripts/ManagerRotated.h"
#include "scripts/ManagerRotatedHook.h"
#include "scripts/ManagerSingle.h"
#include "scripts/ManagerSingleHook.h"
#include "text/Translate.h"

#include <algorithm>

namespace {

template <typename Manager> std::unique_ptr<ScriptManagerBase> make(const ScriptConfig& config)
{
    return std::make_unique<Manager>(config);
}

constexpr ScriptParameter kLifetime{Question::Lifetime, &ScriptConfig::lifetime,
                                    trNoop("Snapshot lifetime: "), true};
constexpr ScriptParameter kPeriod{Question::Period, &ScriptConfig::lifetime,
                                  trNoop("Snapshots rotation period: "), true};
constexpr ScriptParameter kQueueSize{Question::QueueSize, &ScriptConfig::quantity,
                                     trNoop("Number of snapshots in a queue: "), false};

} // namespace

// clang-format off
const std::array<Script, 6> kScripts{{
    {1, make<ManagerSingle>, {trNoop("1: one full-sized snapshot;")}, {}},
    {2, make<ManagerRotated>,
     {trNoop("2: one full-sized snapshot with a rotation at the end of a lifetime;")}, {&kLifetime}},
    {3, make<ManagerSingleHook>,
     {trNoop("3: one full-sized snapshot with a trigger function creating additional one and stopping"),
      trNoop("   snapshots management automation;")}, {}},
    {4, make<ManagerRotatedHook>,
     {trNoop("4: one full-sized snapshot with a rotation at the end of a lifetime and a trigger function"),
      trNoop("   creating additional one and stopping snapshots management automation;")}, {&kLifetime}},
    {5, make<ManagerQueue>, {trNoop("5: queue of snapshots with a rotation at the end of a lifetime;")},
     {&kPeriod, &kQueueSize}},
    {6, make<ManagerDouble>,
     {trNoop("6: two snapshots (full-sized and additional) with a rotation at the end of a lifetime.")},
     {&kPeriod}},
}};
// clang-format on

const Script* findScript(int32_t number)
{
    const auto* found =
        std::find_if(kScripts.begin(), kScripts.end(),
                     [number](const Script& script) { return script.number == number; });
    return found == kScripts.end() ? nullptr : found;
}

std::unique_ptr<ScriptManagerBase> createManager(const ScriptConfig& config)
{
    const Script* script = findScript(config.script);
    return script == nullptr ? nullptr : script->makeManager(config);
}
