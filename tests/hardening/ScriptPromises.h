#pragma once

#include "SweepRun.h"

#include <string>
#include <vector>

// The promises a script keeps whatever call fails: what the sweep checks after every run of an
// operation on the manager itself. Each broken promise comes back as one sentence.
[[nodiscard]] std::vector<std::string>
brokenPromises(int32_t script, Operation operation, const Fault& fault, const RunOutcome& outcome);

// True when the fault can only have made a step refuse (a creation, removal or resize, the
// library's permission to create, a systemctl command) rather than turned a reading into a
// false answer: the library's getters have no way to report failure, so a failed reading
// looks like a true one (an empty list, a creation time 0, a size 0) and the scripts act on it.
[[nodiscard]] bool faultIsARefusal(const Fault& fault, const RunOutcome& outcome);
